#include "base_testing/x_windows.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <thread>

namespace base_testing {
namespace {

Display* dpy(void* d) { return static_cast<Display*>(d); }

bool shown(Display* d, Window w) {
  XWindowAttributes attrs{};
  return XGetWindowAttributes(d, w, &attrs) && attrs.map_state == IsViewable;
}

bool of_class(Display* d, Window w, const std::string& wm_class) {
  XClassHint hint{};
  if (!XGetClassHint(d, w, &hint)) return false;
  const bool match = (hint.res_class && wm_class == hint.res_class) || (hint.res_name && wm_class == hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  if (hint.res_name) XFree(hint.res_name);
  return match;
}

bool named(Display* d, Window w, const std::string& title) {
  char* name = nullptr;
  if (!XFetchName(d, w, &name) || !name) return false;
  const bool match = title == name;
  XFree(name);
  return match;
}

template <class Match>
void collect(Display* d, Window w, const Match& match, bool viewable, std::vector<XWindowId>& found) {
  if (match(w) && (!viewable || shown(d, w))) found.push_back(w);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &n)) return;
  for (unsigned int i = 0; i < n; ++i) collect(d, children[i], match, viewable, found);
  if (children) XFree(children);
}

}  // namespace

XConnection::XConnection(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}

XConnection::~XConnection() {
  if (display_) XCloseDisplay(dpy(display_));
}

std::vector<XWindowId> XConnection::windows_of_class(const std::string& wm_class, bool viewable) const {
  std::vector<XWindowId> found;
  Display* d = dpy(display_);
  if (d)
    collect(
        d, DefaultRootWindow(d), [&](Window w) { return of_class(d, w, wm_class); }, viewable, found);
  return found;
}

std::vector<XWindowId> XConnection::windows_named(const std::string& title, bool viewable) const {
  std::vector<XWindowId> found;
  Display* d = dpy(display_);
  if (d)
    collect(
        d, DefaultRootWindow(d), [&](Window w) { return named(d, w, title); }, viewable, found);
  return found;
}

std::vector<XWindowId> XConnection::wait_for_windows(const std::string& wm_class, std::size_t count,
                                                     std::chrono::milliseconds limit) const {
  const auto give_up = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto found = windows_of_class(wm_class, true);
    if (found.size() >= count || std::chrono::steady_clock::now() >= give_up) return found;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void XConnection::destroy(XWindowId window) const {
  if (!display_) return;
  XDestroyWindow(dpy(display_), window);
  XSync(dpy(display_), False);
}

XWindowId XConnection::own_clipboard() const {
  if (!display_) return 0;
  Display* d = dpy(display_);
  const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, XInternAtom(d, "CLIPBOARD", False), w, CurrentTime);
  XSync(d, False);
  return w;
}

}  // namespace base_testing

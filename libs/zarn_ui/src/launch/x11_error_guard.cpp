// Apart from the rest: Xlib's macros (Status, None, Bool) would clash with names elsewhere.
#include "x11_error_guard.hpp"

#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xproto.h>
#endif

#include <cstring>
#include <mutex>
#include <unordered_set>
#include <utility>

namespace zarn_ui::launch {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

// Xlib takes plain functions for its handlers, so what they consult is kept here, once.
struct Handlers {
  std::mutex mu;
  std::unordered_set<unsigned long> watched;
  // Watched windows an error showed to be gone, until forgotten. What SDL asks about such a
  // window on its way (its parent, its place) it may ask with values it never got, and what it
  // made for it (a graphics context) may never have been made, so while one is gone every error
  // about a missing window, drawable or graphics context is its doing.
  std::unordered_set<unsigned long> gone;
  std::function<void()> before_fatal;
  XErrorHandler previous = nullptr;
  XIOErrorHandler previous_io = nullptr;
  int guards = 0;
};

Handlers& handlers() {
  static Handlers h;
  return h;
}

void last_words() {
  std::function<void()> words;
  {
    std::lock_guard lock(handlers().mu);
    words = std::exchange(handlers().before_fatal, {});
  }
  if (words) words();
}

int on_error(Display* display, XErrorEvent* error) {
  XErrorHandler previous = nullptr;
  {
    std::lock_guard lock(handlers().mu);
    if (handlers().watched.count(error->resourceid)) {
      handlers().gone.insert(error->resourceid);
      return 0;
    }
    // Its framebuffer's graphics context and image go with it.
    const bool missing = error->error_code == BadWindow || error->error_code == BadDrawable ||
                         error->error_code == BadGC || error->error_code == BadPixmap || error->error_code == BadMatch;
    if (missing && !handlers().gone.empty()) return 0;
    // An event sent to another program's window (the answer to its request for the clipboard)
    // finds no window when that program quit meanwhile; nothing of this one is affected.
    if (error->request_code == X_SendEvent && error->error_code == BadWindow) return 0;
    previous = handlers().previous;
  }
  last_words();
  return previous ? previous(display, error) : 0;
}

int on_io_error(Display* display) {
  last_words();
  XIOErrorHandler previous = nullptr;
  {
    std::lock_guard lock(handlers().mu);
    previous = handlers().previous_io;
  }
  return previous ? previous(display) : 0;
}

}  // namespace

X11ErrorGuard::X11ErrorGuard(std::function<void()> before_fatal) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  active_ = true;
  std::lock_guard lock(handlers().mu);
  handlers().before_fatal = std::move(before_fatal);
  if (handlers().guards++ == 0) {
    handlers().previous = XSetErrorHandler(on_error);
    handlers().previous_io = XSetIOErrorHandler(on_io_error);
  }
}

X11ErrorGuard::~X11ErrorGuard() {
  if (!active_) return;
  std::lock_guard lock(handlers().mu);
  if (--handlers().guards > 0) return;
  XSetErrorHandler(handlers().previous);
  XSetIOErrorHandler(handlers().previous_io);
  handlers().before_fatal = {};
}

X11ErrorGuard::Watched X11ErrorGuard::watch(SDL_Window* window) {
  if (!active_ || !window) return {};
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  std::lock_guard lock(handlers().mu);
  handlers().watched.insert(info.info.x11.window);
  return {info.info.x11.display, info.info.x11.window};
}

void X11ErrorGuard::forget(const Watched& watched) {
  if (!active_ || !watched.display) return;
  XSync(static_cast<Display*>(watched.display), False);
  std::lock_guard lock(handlers().mu);
  handlers().watched.erase(watched.window);
  handlers().gone.erase(watched.window);
}

void X11ErrorGuard::before_destroying_gone(const Watched& watched) {
  if (!active_ || !watched.display) return;
  XEvent unmapped{};
  unmapped.xunmap.type = UnmapNotify;
  unmapped.xunmap.display = static_cast<Display*>(watched.display);
  unmapped.xunmap.event = watched.window;
  unmapped.xunmap.window = watched.window;
  XPutBackEvent(static_cast<Display*>(watched.display), &unmapped);
}

bool X11ErrorGuard::alive(const Watched& watched) const {
  if (!active_ || !watched.display) return true;
  XWindowAttributes attributes;
  return XGetWindowAttributes(static_cast<Display*>(watched.display), watched.window, &attributes) != 0;
}

#else

X11ErrorGuard::X11ErrorGuard(std::function<void()>) {}
X11ErrorGuard::~X11ErrorGuard() = default;
X11ErrorGuard::Watched X11ErrorGuard::watch(SDL_Window*) { return {}; }
void X11ErrorGuard::before_destroying_gone(const Watched&) {}
void X11ErrorGuard::forget(const Watched&) {}
bool X11ErrorGuard::alive(const Watched&) const { return true; }

#endif

}  // namespace zarn_ui::launch

#pragma once
// What a test sees of the windows on an X server, through a connection of its own: finding a
// program's windows by their class, waiting for one to show, destroying one and holding the
// clipboard as another client could. Xlib stays inside the implementation, its macros clash with ordinary names.

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace base_testing {

using XWindowId = unsigned long;

class XConnection {
 public:
  explicit XConnection(const std::string& display);
  ~XConnection();
  XConnection(const XConnection&) = delete;
  XConnection& operator=(const XConnection&) = delete;

  bool ok() const { return display_ != nullptr; }

  // Every window below the root whose WM_CLASS class or name is `wm_class`; with `viewable`,
  // only those shown on the screen.
  std::vector<XWindowId> windows_of_class(const std::string& wm_class, bool viewable) const;
  // Every window below the root named `title`; with `viewable`, only those shown.
  std::vector<XWindowId> windows_named(const std::string& title, bool viewable) const;
  // Waits (at most `limit`) until at least `count` windows of the class are shown; returns those shown then.
  std::vector<XWindowId> wait_for_windows(const std::string& wm_class, std::size_t count,
                                          std::chrono::milliseconds limit) const;
  // What another program on the desktop may do to any window.
  void destroy(XWindowId window) const;
  // Takes the clipboard with a window of this connection and never answers a request for its
  // contents (as an owner that cannot hand them over); destroying the window gives it up.
  XWindowId own_clipboard() const;

 private:
  void* display_;
};

}  // namespace base_testing

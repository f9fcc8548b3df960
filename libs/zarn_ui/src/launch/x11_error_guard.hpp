#pragma once
// X errors go to one handler per process, and Xlib's own ends the process. While the window loop
// runs, errors about windows it watches (a floating panel's window, which another program may
// destroy) are kept, so the loop can notice the window is gone and hand the panel back, and an
// event sent to a window another program has destroyed is let pass; any other error, and the
// loss of the display, first run the loop's last words (saving the document), then go on to the
// handler that was there before. Outside X11 it does nothing.

#include <SDL.h>

#include <functional>

namespace zarn_ui::launch {

class X11ErrorGuard {
 public:
  // A watched window, still known after SDL's window is gone.
  struct Watched {
    void* display = nullptr;
    unsigned long window = 0;
  };

  explicit X11ErrorGuard(std::function<void()> before_fatal);
  ~X11ErrorGuard();
  X11ErrorGuard(const X11ErrorGuard&) = delete;
  X11ErrorGuard& operator=(const X11ErrorGuard&) = delete;

  bool active() const { return active_; }
  Watched watch(SDL_Window* window);
  // Before SDL destroys a window that is gone from the server: SDL hides a window it destroys and
  // waits for the server to say it is unmapped, which for a window that no longer exists it never
  // does, so that word is put in SDL's queue for it.
  void before_destroying_gone(const Watched& watched);
  // Once the window is destroyed: what its destruction raised is taken first.
  void forget(const Watched& watched);
  // Asks the server whether the window is still there.
  bool alive(const Watched& watched) const;

 private:
  bool active_ = false;
};

}  // namespace zarn_ui::launch

#pragma once
// SDL's video subsystem, open for as long as the object lives. Without a driver forced by the
// caller or by SDL_VIDEODRIVER, only the window systems the environment names are tried
// (Wayland for WAYLAND_DISPLAY, X11 for DISPLAY): SDL would otherwise fall back to a driver that
// shows nothing and report success.

#include <string>

namespace zarn_ui::launch {

// Writes the window class SDL will read into the environment (a value the user set stays). It
// must run before any other thread starts: setenv beside another thread's getenv can crash that
// thread (glibc moves the environment while it is read).
void name_window_class(const std::string& app_id);

class SdlVideo {
 public:
  // `app_id` names the application to the desktop (the window class, the app name SDL gives the
  // session bus); empty keeps SDL's defaults.
  SdlVideo(const char* driver, const std::string& app_id);
  ~SdlVideo();
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;

  bool ok() const { return ok_; }
  // Why no display could be opened, for the one-line message.
  const std::string& error() const { return error_; }

 private:
  bool ok_ = false;
  std::string error_;
};

}  // namespace zarn_ui::launch

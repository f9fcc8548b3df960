#include "sdl_video.hpp"

#include <SDL.h>
#include <dlfcn.h>
#include <fmt/format.h>

#include <cstdlib>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ZARN_UI_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZARN_UI_LEAK_CHECKED 1
#endif
#endif

namespace zarn_ui::launch {
namespace {

// Under the leak checker only. SDL's texture framebuffer, where the environment chooses it,
// loads the GL libraries and their driver and unloads them when the window closes; what they never freed is then
// reported at exit from code that is gone, with no library name a suppression could match. Loaded here once more and
// never unloaded, they keep their names. Mesa's drivers are one file under many names, so one
// name keeps whichever the loader picks.
void keep_gl_libraries_loaded() {
#if defined(ZARN_UI_LEAK_CHECKED)
  static const bool kept = [] {
    for (const char* lib :
         {"libGL.so.1", "libGLX.so.0", "libGLX_mesa.so.0", "libGLdispatch.so.0", "libEGL.so.1", "libEGL_mesa.so.0",
          "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/aarch64-linux-gnu/dri/swrast_dri.so"}) {
      (void)::dlopen(lib, RTLD_LAZY | RTLD_NODELETE);
    }
    return true;
  }();
  (void)kept;
#endif
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

void name_window_class(const std::string& app_id) {
  if (app_id.empty()) return;
  // SDL reads the window class from the environment only; a value the user set stays.
  ::setenv("SDL_VIDEO_X11_WMCLASS", app_id.c_str(), 0);
  ::setenv("SDL_VIDEO_WAYLAND_WMCLASS", app_id.c_str(), 0);
}

SdlVideo::SdlVideo(const char* driver, const std::string& app_id) {
  // The screen may blank while the app is open: it plays nothing that needs watching.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Frames are drawn in memory and copied into the window surface (shared memory on X11). SDL's
  // texture framebuffer would load an OpenGL driver to copy the same pixels, on a machine
  // without a GPU a software one of some hundred megabytes. SDL_FRAMEBUFFER_ACCELERATION in the
  // environment still decides where it is set.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (!app_id.empty()) {
    SDL_SetHint(SDL_HINT_APP_NAME, app_id.c_str());
    name_window_class(app_id);
  }
  const std::string forced = env("SDL_VIDEODRIVER");
  std::vector<std::string> tried;
  if (driver) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
  } else if (forced.empty()) {
    const std::string wayland = env("WAYLAND_DISPLAY"), x11 = env("DISPLAY");
    std::string drivers;
    if (!wayland.empty()) {
      drivers = "wayland";
      tried.push_back(fmt::format("Wayland display \"{}\"", wayland));
    }
    if (!x11.empty()) {
      drivers += drivers.empty() ? "x11" : ",x11";
      tried.push_back(fmt::format("display \"{}\"", x11));
    }
    if (drivers.empty()) {
      error_ = "DISPLAY and WAYLAND_DISPLAY are not set";
      return;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  keep_gl_libraries_loaded();
  ok_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  if (ok_) return;

  if (tried.empty()) {
    error_ = SDL_GetError();
  } else {
    error_ = "cannot open " + tried[0];
    for (std::size_t i = 1; i < tried.size(); ++i) error_ += " or " + tried[i];
  }
}

SdlVideo::~SdlVideo() {
  if (ok_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace zarn_ui::launch

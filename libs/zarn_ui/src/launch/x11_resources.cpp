// The X resources of a window's display. Apart from the rest: Xlib's macros (Status, None,
// Bool) would clash with names elsewhere.
#include <SDL.h>
#include <SDL_syswm.h>

#include "desktop_look.hpp"

namespace zarn_ui::launch {
namespace {

#if defined(SDL_VIDEO_DRIVER_X11)
Display* x_display_of(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  return info.info.x11.display;
}
#endif

}  // namespace

std::optional<double> xft_dpi_of(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  Display* display = x_display_of(window);
  const char* resources = display ? XResourceManagerString(display) : nullptr;
  if (!resources) return std::nullopt;
  return xft_dpi_from_resources(resources);
#else
  (void)window;
  return std::nullopt;
#endif
}

std::optional<std::string> x_display_name_of(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  Display* display = x_display_of(window);
  const char* name = display ? DisplayString(display) : nullptr;
  if (!name) return std::nullopt;
  return std::string(name);
#else
  (void)window;
  return std::nullopt;
#endif
}

}  // namespace zarn_ui::launch

// The X resources of a window's display. Apart from the rest: Xlib's macros (Status, None,
// Bool) would clash with names elsewhere.
#include <SDL.h>
#include <SDL_syswm.h>

#include "desktop_look.hpp"

namespace zarn_ui::launch {

std::optional<double> xft_dpi_of(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
  const char* resources = XResourceManagerString(info.info.x11.display);
  if (!resources) return std::nullopt;
  return xft_dpi_from_resources(resources);
#else
  (void)window;
  return std::nullopt;
#endif
}

}  // namespace zarn_ui::launch

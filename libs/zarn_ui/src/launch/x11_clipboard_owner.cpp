// Apart from the rest: Xlib's macros (Status, None, Bool) would clash with names elsewhere.
#include "x11_clipboard_owner.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlibint.h>
#endif

namespace zarn_ui::launch {

bool clipboard_owned_by_other_client() {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_Window* window = SDL_GetKeyboardFocus();
  if (!window) window = SDL_GetMouseFocus();
  // Without a window manager no window may have the focus; any window of the display will do.
  for (Uint32 id = 1; !window && id <= 16; ++id) window = SDL_GetWindowFromID(id);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  Display* display = info.info.x11.display;
  const Window owner = XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False));
  // SDL's own windows (it keeps a hidden one for the clipboard) are of this connection.
  const bool ours = (owner & ~display->resource_mask) == display->resource_base;
  return owner != None && !ours;
#else
  return false;
#endif
}

}  // namespace zarn_ui::launch

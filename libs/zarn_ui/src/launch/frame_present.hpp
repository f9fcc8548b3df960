#pragma once
// Showing a rendered frame in an SDL window, and the owners of the handles involved.

#include <SDL.h>
#include <cairo.h>

#include <memory>

#include "base/result.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

namespace zarn_ui::launch {

struct WindowDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
using WindowHandle = std::unique_ptr<SDL_Window, WindowDeleter>;

struct FrameSurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using FrameSurface = std::unique_ptr<cairo_surface_t, FrameSurfaceDeleter>;

struct SdlSurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurface = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;

// Paints frames into a window's surface. Where the surface keeps its pixels as Cairo's RGB24 does
// (32 bits, blue first in memory, on X11 and most others) the frame is drawn straight into them;
// elsewhere it is drawn into a frame of its own and converted. The target is cleared first only
// when the frame's items leave some pixel to what was there before.
class FramePainter {
 public:
  // Draws `scene` into the window's surface and shows it.
  base::Result<render::ReplayReport> paint(SDL_Window* window, const Scene& scene, double scale,
                                           const text_render::TextRenderer* text);
  // The same into `target` without showing it (an SDL surface standing for the window's).
  base::Result<render::ReplayReport> paint_into(SDL_Surface* target, const Scene& scene, double scale,
                                                const text_render::TextRenderer* text);
  // Whether the last frame went straight into the target's pixels.
  bool direct() const { return direct_; }
  // Lets go of the frame kept for converting.
  void release() { frame_.reset(); }

 private:
  FrameSurface frame_;  // only where the target's pixels are in another format
  bool direct_ = false;
};

// Copies the frame's pixels into the window and shows them.
void present_frame(SDL_Window* window, cairo_surface_t* frame);

// Clears the frame to transparent black.
void clear_frame(cairo_surface_t* frame);

// Whether Cairo can draw into the SDL surface's own pixels.
bool drawable_in_place(const SDL_Surface* target);

}  // namespace zarn_ui::launch

#pragma once
// Showing a rendered frame in an SDL window, and the owners of the handles involved.

#include <SDL.h>
#include <cairo.h>

#include <memory>

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

// Copies the frame's pixels into the window and shows them.
void present_frame(SDL_Window* window, cairo_surface_t* frame);

// Clears the frame to transparent black.
void clear_frame(cairo_surface_t* frame);

}  // namespace zarn_ui::launch

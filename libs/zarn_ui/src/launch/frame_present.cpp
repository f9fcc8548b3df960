#include "frame_present.hpp"

#include <algorithm>

namespace zarn_ui::launch {

void present_frame(SDL_Window* window, cairo_surface_t* frame) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (!target || !frame) return;
  cairo_surface_flush(frame);
  const int w = std::min(cairo_image_surface_get_width(frame), target->w);
  const int h = std::min(cairo_image_surface_get_height(frame), target->h);
  SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, cairo_image_surface_get_data(frame),
                    cairo_image_surface_get_stride(frame), target->format->format, target->pixels, target->pitch);
  SDL_UpdateWindowSurface(window);
}

void clear_frame(cairo_surface_t* frame) {
  cairo_t* cr = cairo_create(frame);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_destroy(cr);
}

}  // namespace zarn_ui::launch

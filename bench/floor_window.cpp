// The floor of this stack for the start-up benchmark: a bare SDL2 window filled by Cairo and
// given one line of Pango text, shown; then it waits to be ended. Argument: the fd to tell.
#include <SDL.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdlib>

#include "start_record.hpp"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const int fd = std::atoi(argv[1]);
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1280, 800, 0);
  SDL_Surface* target = window ? SDL_GetWindowSurface(window) : nullptr;
  if (!target) return 1;
  cairo_surface_t* s = cairo_image_surface_create_for_data(static_cast<unsigned char*>(target->pixels),
                                                           CAIRO_FORMAT_RGB24, target->w, target->h, target->pitch);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0.95, 0.95, 0.93);
  cairo_paint(cr);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 13px");
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, "Loading map\u2026", -1);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_move_to(cr, 600, 390);
  pango_cairo_show_layout(cr, layout);
  cairo_surface_flush(s);
  SDL_UpdateWindowSurface(window);
  maps::bench::tell_parent(fd);  // first frame
  maps::bench::tell_parent(fd);  // and at rest
  SDL_Event e;
  while (SDL_WaitEvent(&e)) {
  }
  return 0;
}

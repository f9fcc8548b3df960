#include "frame_present.hpp"

#include <algorithm>

namespace zarn_ui::launch {

namespace {

// Paints the scene onto `surface`, from the item that covers every pixel when there is one, else
// from a cleared target.
base::Result<render::ReplayReport> replay_frame(cairo_surface_t* surface, const Scene& scene, double scale,
                                                const text_render::TextRenderer* text) {
  const auto w = static_cast<std::uint32_t>(cairo_image_surface_get_width(surface));
  const auto h = static_cast<std::uint32_t>(cairo_image_surface_get_height(surface));
  const std::optional<std::size_t> cover = render::covering_item(scene, scale, w, h);
  if (!cover) clear_frame(surface);
  return render::replay_to_surface(surface, scene, scale, text, cover.value_or(0));
}

}  // namespace

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

bool drawable_in_place(const SDL_Surface* target) {
  if (target == nullptr || target->pixels == nullptr || SDL_MUSTLOCK(target) || target->w <= 0 || target->h <= 0) {
    return false;
  }
  const Uint32 f = target->format->format;
  if (f != SDL_PIXELFORMAT_RGB888 && f != SDL_PIXELFORMAT_ARGB8888) return false;
  return target->pitch == cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, target->w);
}

base::Result<render::ReplayReport> FramePainter::paint_into(SDL_Surface* target, const Scene& scene, double scale,
                                                            const text_render::TextRenderer* text) {
  if (target == nullptr) return base::err("no window surface");
  direct_ = drawable_in_place(target);
  if (direct_) {
    frame_.reset();
    // The window shows no alpha: its pixels are drawn as an opaque RGB24 image.
    FrameSurface view(cairo_image_surface_create_for_data(static_cast<unsigned char*>(target->pixels),
                                                          CAIRO_FORMAT_RGB24, target->w, target->h, target->pitch));
    if (cairo_surface_status(view.get()) != CAIRO_STATUS_SUCCESS) return base::err("cannot draw into the window");
    return replay_frame(view.get(), scene, scale, text);
  }
  const int w = std::max(target->w, 1), h = std::max(target->h, 1);
  if (!frame_ || cairo_image_surface_get_width(frame_.get()) != w ||
      cairo_image_surface_get_height(frame_.get()) != h) {
    frame_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  }
  auto report = replay_frame(frame_.get(), scene, scale, text);
  SDL_ConvertPixels(std::min(w, target->w), std::min(h, target->h), SDL_PIXELFORMAT_ARGB8888,
                    cairo_image_surface_get_data(frame_.get()), cairo_image_surface_get_stride(frame_.get()),
                    target->format->format, target->pixels, target->pitch);
  return report;
}

base::Result<render::ReplayReport> FramePainter::paint(SDL_Window* window, const Scene& scene, double scale,
                                                       const text_render::TextRenderer* text) {
  SDL_Surface* target = SDL_GetWindowSurface(window);
  if (target == nullptr) return base::err(std::string("no window surface: ") + SDL_GetError());
  auto report = paint_into(target, scene, scale, text);
  SDL_UpdateWindowSurface(window);
  return report;
}

}  // namespace zarn_ui::launch

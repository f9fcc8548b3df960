#include "zarn_ui/offscreen.hpp"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "cairo_handles.hpp"
#include "zarn_ui/render.hpp"

namespace zarn_ui::offscreen {
namespace {

constexpr std::uint32_t kMaxSide = 32767;  // Cairo's image surface limit

struct PngReader {
  const std::vector<std::uint8_t>* bytes;
  std::size_t pos = 0;
};

cairo_status_t write_to_vector(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t read_from_vector(void* closure, unsigned char* data, unsigned int length) {
  auto* r = static_cast<PngReader*>(closure);
  if (r->bytes->size() - r->pos < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, r->bytes->data() + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

base::Result<OffscreenRenderer> OffscreenRenderer::create(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
    return base::err("offscreen size out of range: " + std::to_string(width) + "x" + std::to_string(height));
  }
  handles::CairoSurface s(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height)));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) {
    return base::err(std::string("offscreen surface: ") + cairo_status_to_string(cairo_surface_status(s.get())));
  }
  OffscreenRenderer r;
  r.width_ = width;
  r.height_ = height;
  r.surface_ = std::move(s);
  r.text_ = text_render::TextRenderer::create();
  return r;
}

std::vector<std::uint8_t> OffscreenRenderer::render_resilient(const Scene& scene,
                                                              const std::vector<Scene>& extra_layers) {
  cairo_surface_t* s = surface_.get();
  {
    const handles::CairoContext cr(cairo_create(s));
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr.get());
  }
  // Each replay recovers from a failed context on its own; what it refused is simply absent.
  (void)render::replay_to_surface(s, scene, 1.0, &text_);
  for (const Scene& layer : extra_layers) (void)render::replay_to_surface(s, layer, 1.0, &text_);
  return surface_rgba8(s);
}

std::vector<std::uint8_t> surface_rgba8(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<std::uint8_t> out(static_cast<std::size_t>(w) * h * 4);
  if (data == nullptr) return out;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    std::uint8_t* dst = out.data() + static_cast<std::size_t>(y) * w * 4;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t px = row[x];
      const std::uint32_t a = px >> 24;
      std::uint32_t r = (px >> 16) & 0xff, g = (px >> 8) & 0xff, b = px & 0xff;
      if (a != 0 && a != 255) {
        // Undo the premultiplication, rounding to nearest.
        r = (r * 255 + a / 2) / a;
        g = (g * 255 + a / 2) / a;
        b = (b * 255 + a / 2) / a;
      }
      dst[4 * x] = static_cast<std::uint8_t>(std::min<std::uint32_t>(r, 255));
      dst[4 * x + 1] = static_cast<std::uint8_t>(std::min<std::uint32_t>(g, 255));
      dst[4 * x + 2] = static_cast<std::uint8_t>(std::min<std::uint32_t>(b, 255));
      dst[4 * x + 3] = static_cast<std::uint8_t>(a);
    }
  }
  return out;
}

base::Result<std::vector<std::uint8_t>> OffscreenRenderer::encode_png(const std::vector<std::uint8_t>& rgba) const {
  if (rgba.size() != static_cast<std::size_t>(width_) * height_ * 4) {
    return base::err("encode png: " + std::to_string(rgba.size()) + " bytes for " + std::to_string(width_) + "x" +
                     std::to_string(height_));
  }
  // Image keeps the premultiplied surface Cairo's PNG writer reads.
  const Image image = Image::from_rgba8(width_, height_, rgba);
  if (image.empty()) return base::err("encode png: surface");
  std::vector<std::uint8_t> out;
  const cairo_status_t st = cairo_surface_write_to_png_stream(image.cairo_surface(), write_to_vector, &out);
  if (st != CAIRO_STATUS_SUCCESS) return base::err(std::string("encode png: ") + cairo_status_to_string(st));
  return out;
}

base::Result<DecodedPng> decode_png(const std::vector<std::uint8_t>& bytes) {
  PngReader reader{&bytes};
  const handles::CairoSurface s(cairo_image_surface_create_from_png_stream(read_from_vector, &reader));
  if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) {
    return base::err(std::string("decode png: ") + cairo_status_to_string(cairo_surface_status(s.get())));
  }
  handles::CairoSurface converted;
  cairo_surface_t* argb = s.get();
  if (cairo_image_surface_get_format(s.get()) != CAIRO_FORMAT_ARGB32) {
    // RGB24 and other formats: draw onto an ARGB32 surface first.
    converted.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(s.get()),
                                               cairo_image_surface_get_height(s.get())));
    argb = converted.get();
    const handles::CairoContext cr(cairo_create(argb));
    cairo_set_source_surface(cr.get(), s.get(), 0, 0);
    cairo_paint(cr.get());
  }
  DecodedPng out;
  out.width = static_cast<std::uint32_t>(cairo_image_surface_get_width(argb));
  out.height = static_cast<std::uint32_t>(cairo_image_surface_get_height(argb));
  out.rgba = surface_rgba8(argb);
  return out;
}

}  // namespace zarn_ui::offscreen

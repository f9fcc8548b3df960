#include "zarn_ui/image.hpp"

#include <cairo.h>

namespace zarn_ui {

Image::Data::~Data() {
  if (surface) cairo_surface_destroy(surface);
}

const std::vector<std::uint8_t>& Image::rgba() const {
  static const std::vector<std::uint8_t> kEmpty;
  return data_ ? data_->rgba : kEmpty;
}

Image Image::from_rgba8(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> rgba) {
  Image img;
  if (width == 0 || height == 0 || width > 32767 || height > 32767 ||
      rgba.size() != static_cast<std::size_t>(width) * height * 4) {
    return img;
  }
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return img;
  }
  cairo_surface_flush(surface);
  unsigned char* dst = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (std::uint32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(dst + static_cast<std::size_t>(y) * stride);
    const std::uint8_t* src = rgba.data() + static_cast<std::size_t>(y) * width * 4;
    for (std::uint32_t x = 0; x < width; ++x) {
      const std::uint32_t r = src[4 * x], g = src[4 * x + 1], b = src[4 * x + 2], a = src[4 * x + 3];
      // Premultiply with rounding: c * a / 255.
      auto pm = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (pm(r) << 16) | (pm(g) << 8) | pm(b);
    }
  }
  cairo_surface_mark_dirty(surface);
  auto data = std::make_shared<Data>();
  data->width = width;
  data->height = height;
  data->rgba = std::move(rgba);
  data->surface = surface;
  img.data_ = std::move(data);
  return img;
}

}  // namespace zarn_ui

#include "zarn_ui/image.hpp"

#include <cairo.h>

#include <algorithm>

namespace zarn_ui {

namespace {

constexpr std::uint32_t kMaxSide = 32767;  // Cairo's limit for image surfaces

std::uint32_t* surface_row(cairo_surface_t* surface, std::uint32_t y) {
  unsigned char* base = cairo_image_surface_get_data(surface);
  const auto stride = static_cast<std::size_t>(cairo_image_surface_get_stride(surface));
  return reinterpret_cast<std::uint32_t*>(base + y * stride);
}

std::array<std::uint8_t, 4> unpremultiply(std::uint32_t argb, bool opaque) {
  if (opaque)
    return {static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
            static_cast<std::uint8_t>(argb), 255};
  const std::uint32_t a = argb >> 24;
  if (a == 0) return {0, 0, 0, 0};
  auto straight = [a](std::uint32_t c) {
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
  };
  return {straight((argb >> 16) & 0xFF), straight((argb >> 8) & 0xFF), straight(argb & 0xFF),
          static_cast<std::uint8_t>(a)};
}

}  // namespace

Image::Data::~Data() {
  if (surface) cairo_surface_destroy(surface);
  if (pixels) cairo_surface_destroy(pixels);
}

std::size_t Image::pixel_bytes() const {
  if (!data_) return 0;
  return static_cast<std::size_t>(cairo_image_surface_get_stride(data_->surface)) * data_->height;
}

std::array<std::uint8_t, 4> Image::pixel_rgba8(std::uint32_t x, std::uint32_t y) const {
  if (!data_ || x >= data_->width || y >= data_->height) return {0, 0, 0, 0};
  return unpremultiply(surface_row(data_->surface, y)[x], data_->opaque);
}

std::vector<std::uint8_t> Image::to_rgba8() const {
  std::vector<std::uint8_t> out;
  if (!data_) return out;
  out.reserve(static_cast<std::size_t>(data_->width) * data_->height * 4);
  for (std::uint32_t y = 0; y < data_->height; ++y) {
    const std::uint32_t* row = surface_row(data_->surface, y);
    for (std::uint32_t x = 0; x < data_->width; ++x) {
      const auto px = unpremultiply(row[x], data_->opaque);
      out.insert(out.end(), px.begin(), px.end());
    }
  }
  return out;
}

Image Image::from_rgba8(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> rgba) {
  if (rgba.size() != static_cast<std::size_t>(width) * height * 4) return {};
  ImageBuilder builder(width, height);
  if (!builder.ok()) return {};
  const std::size_t row_bytes = static_cast<std::size_t>(width) * 4;
  for (std::uint32_t y = 0; y < height; ++y) {
    builder.set_row_rgba8(y, std::span<const std::uint8_t>(rgba.data() + y * row_bytes, row_bytes));
  }
  return builder.finish();
}

ImageBuilder::ImageBuilder(std::uint32_t width, std::uint32_t height, Content content)
    : width_(width), height_(height), content_(content) {
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return;
  const cairo_format_t format = content == Content::Opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
  cairo_surface_t* surface = cairo_image_surface_create(format, static_cast<int>(width), static_cast<int>(height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  // Direct writes into the pixels follow; Cairo is told once they are done (`finish`).
  cairo_surface_flush(surface);
  surface_ = surface;
}

ImageBuilder::~ImageBuilder() {
  if (surface_) cairo_surface_destroy(surface_);
}

void ImageBuilder::set_row_rgba8(std::uint32_t y, std::span<const std::uint8_t> rgba) {
  if (!surface_ || y >= height_ || rgba.size() != static_cast<std::size_t>(width_) * 4) return;
  std::uint32_t* row = surface_row(surface_, y);
  const std::uint8_t* src = rgba.data();
  std::uint32_t all = 255;
  for (std::uint32_t x = 0; x < width_; ++x, src += 4) {
    const std::uint32_t r = src[0], g = src[1], b = src[2], a = src[3];
    all &= a;
    // Premultiply with rounding: c * a / 255.
    auto pm = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    row[x] = (a << 24) | (pm(r) << 16) | (pm(g) << 8) | pm(b);
  }
  if (content_ == Content::Opaque) return;
  if (row_set_.empty()) row_set_.assign(height_, false);
  if (all != 255) translucent_ = true;
  if (!row_set_[y]) {
    row_set_[y] = true;
    if (all == 255) ++opaque_rows_;
  }
}

Image ImageBuilder::finish() {
  Image img;
  if (!surface_) return img;
  cairo_surface_mark_dirty(surface_);
  auto data = std::make_shared<Image::Data>();
  data->width = width_;
  data->height = height_;
  data->surface = surface_;
  data->opaque = content_ == Content::Opaque;
  surface_ = nullptr;
  if (!data->opaque && !translucent_ && opaque_rows_ == height_) {
    // The same pixels seen as RGB24: Cairo then copies them where it would blend.
    cairo_surface_t* view = cairo_image_surface_create_for_data(
        cairo_image_surface_get_data(data->surface), CAIRO_FORMAT_RGB24, static_cast<int>(width_),
        static_cast<int>(height_), cairo_image_surface_get_stride(data->surface));
    if (cairo_surface_status(view) == CAIRO_STATUS_SUCCESS) {
      data->pixels = data->surface;
      data->surface = view;
      data->opaque = true;
    } else {
      cairo_surface_destroy(view);
    }
  }
  img.data_ = std::move(data);
  return img;
}

}  // namespace zarn_ui

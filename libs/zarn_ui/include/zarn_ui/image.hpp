#pragma once
// An RGBA8 image (straight alpha) shared by reference. The premultiplied surface that Cairo
// draws from is made once, when the image is created, so drawing a tile never converts pixels.

#include <cstdint>
#include <memory>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace zarn_ui {

class Image {
 public:
  Image() = default;
  // `rgba` holds width * height * 4 bytes, rows top to bottom; a wrong size gives an empty image.
  static Image from_rgba8(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> rgba);

  std::uint32_t width() const { return data_ ? data_->width : 0; }
  std::uint32_t height() const { return data_ ? data_->height : 0; }
  bool empty() const { return !data_; }
  const std::vector<std::uint8_t>& rgba() const;
  // The premultiplied ARGB32 surface; null for an empty image. Owned by the image.
  cairo_surface_t* cairo_surface() const { return data_ ? data_->surface : nullptr; }
  // Identity: two copies of one image compare equal.
  bool operator==(const Image& o) const { return data_ == o.data_; }

 private:
  struct Data {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgba;
    cairo_surface_t* surface = nullptr;
    ~Data();
  };
  std::shared_ptr<const Data> data_;
};

}  // namespace zarn_ui

#pragma once
// An image shared by reference, held once: as the premultiplied ARGB32 surface that Cairo draws
// from. The surface is filled when the image is made (from straight RGBA8 pixels), so drawing
// never converts pixels and no second copy of them is kept. An image whose every pixel is opaque
// is drawn from an RGB24 view of the same pixels, so that Cairo copies it instead of blending.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace zarn_ui {

class Image {
 public:
  Image() = default;
  // `rgba` holds width * height * 4 bytes of straight RGBA8, rows top to bottom; a wrong size
  // gives an empty image. The bytes are premultiplied into the surface and then freed.
  static Image from_rgba8(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> rgba);

  std::uint32_t width() const { return data_ ? data_->width : 0; }
  std::uint32_t height() const { return data_ ? data_->height : 0; }
  bool empty() const { return !data_; }
  // The surface to draw from: premultiplied ARGB32, or RGB24 for an opaque image; null for an
  // empty image. Owned by the image.
  cairo_surface_t* cairo_surface() const { return data_ ? data_->surface : nullptr; }
  // Every pixel has alpha 255.
  bool opaque() const { return data_ && data_->opaque; }
  // Bytes of pixel memory the image holds (the surface's rows, with their padding).
  std::size_t pixel_bytes() const;

  // Straight RGBA8 read back from the surface. Opaque pixels come back exactly, translucent ones
  // within the rounding of premultiplication, and a fully transparent one as zeros (as does a
  // pixel out of range).
  std::array<std::uint8_t, 4> pixel_rgba8(std::uint32_t x, std::uint32_t y) const;
  // Every pixel, as `pixel_rgba8` reads it, rows top to bottom.
  std::vector<std::uint8_t> to_rgba8() const;

  // Identity: two copies of one image compare equal.
  bool operator==(const Image& o) const { return data_ == o.data_; }

 private:
  friend class ImageBuilder;
  struct Data {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    cairo_surface_t* surface = nullptr;
    cairo_surface_t* pixels = nullptr;  // the ARGB32 owner of an RGB24 view, else null
    bool opaque = false;
    Data() = default;
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;
    ~Data();
  };
  std::shared_ptr<const Data> data_;
};

// Fills an image's surface row by row, so a decoder can write its pixels straight into the
// surface without holding the whole image twice.
class ImageBuilder {
 public:
  enum class Content : std::uint8_t {
    // Rows start transparent; the image is opaque when every row was set and no alpha below 255.
    WithAlpha,
    // An RGB24 surface for drawing into with Cairo: every pixel is opaque (black until drawn).
    Opaque,
  };
  // Not usable (`ok` false) for a zero or larger-than-32767 side, or when Cairo has no memory.
  ImageBuilder(std::uint32_t width, std::uint32_t height, Content content = Content::WithAlpha);
  ImageBuilder(const ImageBuilder&) = delete;
  ImageBuilder& operator=(const ImageBuilder&) = delete;
  ~ImageBuilder();

  bool ok() const { return surface_ != nullptr; }
  std::uint32_t width() const { return width_; }
  std::uint32_t height() const { return height_; }
  // Premultiplies one row of straight RGBA8 (width * 4 bytes) into row `y`; a row out of range
  // or of another length is ignored. Rows never set stay transparent.
  void set_row_rgba8(std::uint32_t y, std::span<const std::uint8_t> rgba);
  // The surface being filled, for drawing into it with Cairo instead (null when not ok). It
  // stays the builder's; `finish` tells Cairo the pixels changed.
  cairo_surface_t* surface() const { return surface_; }
  // The finished image (empty when not ok); the builder is spent afterwards.
  Image finish();

 private:
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  cairo_surface_t* surface_ = nullptr;
  Content content_ = Content::WithAlpha;
  std::uint32_t opaque_rows_ = 0;  // rows set with alpha 255 throughout
  bool translucent_ = false;       // a row set with some alpha below 255
  std::vector<bool> row_set_;
};

}  // namespace zarn_ui

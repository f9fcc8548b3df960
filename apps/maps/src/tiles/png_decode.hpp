#pragma once
// PNG bytes to pixels. Every colour type and bit depth is accepted (palette, grey, grey+alpha,
// 16-bit); images larger than 4096 x 4096 are refused before any allocation.

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

inline constexpr std::uint32_t kMaxTileImageSide = 4096;

struct DecodedTile {
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool operator==(const DecodedTile&) const = default;
};

// Straight RGBA8 pixels.
base::Result<DecodedTile> decode_png_rgba(std::span<const std::uint8_t> bytes);

// The same pixels decoded row by row straight into a drawable image, so that only the image's
// premultiplied surface ever holds the whole tile.
base::Result<zarn_ui::Image> decode_png_image(std::span<const std::uint8_t> bytes);

}  // namespace maps

#pragma once
// PNG bytes to straight RGBA8 pixels. Every colour type and bit depth is accepted (palette,
// grey, grey+alpha, 16-bit); images larger than 4096 x 4096 are refused before any allocation.

#include <cstdint>
#include <span>
#include <vector>

#include "base/result.hpp"

namespace maps {

inline constexpr std::uint32_t kMaxTileImageSide = 4096;

struct DecodedTile {
  std::vector<std::uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool operator==(const DecodedTile&) const = default;
};

base::Result<DecodedTile> decode_png_rgba(std::span<const std::uint8_t> bytes);

}  // namespace maps

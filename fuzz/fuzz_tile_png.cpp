// Any bytes into the tile decoder: an error or a well-formed image, never a crash, and never
// an allocation beyond the size limit. The drawable image the worker makes holds the same
// pixels as the plain decode. Inputs are mutated as PNGs (png_mutator.hpp), from real tiles.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "png_mutator.hpp"
#include "tiles/png_decode.hpp"
#include "zarn_ui/image.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  auto decoded = maps::decode_png_rgba(bytes);
  auto image = maps::decode_png_image(bytes);
  if (decoded.is_ok() != image.is_ok()) std::abort();
  if (!decoded.is_ok()) return 0;
  const maps::DecodedTile& tile = decoded.value();
  if (tile.width == 0 || tile.height == 0 || tile.width > maps::kMaxTileImageSide ||
      tile.height > maps::kMaxTileImageSide ||
      tile.rgba.size() != static_cast<std::size_t>(tile.width) * tile.height * 4) {
    std::abort();
  }
  if (image->width() != tile.width || image->height() != tile.height || image->cairo_surface() == nullptr) {
    std::abort();
  }
  // Premultiplication keeps alpha exactly, and colour exactly where the pixel is opaque.
  const std::vector<std::uint8_t> back = image->to_rgba8();
  for (std::size_t i = 0; i < back.size(); i += 4) {
    const std::uint8_t a = tile.rgba[i + 3];
    if (back[i + 3] != a) std::abort();
    if (a == 255 && (back[i] != tile.rgba[i] || back[i + 1] != tile.rgba[i + 1] || back[i + 2] != tile.rgba[i + 2])) {
      std::abort();
    }
  }
  return 0;
}

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t max_size,
                                               unsigned int seed) {
  return maps::fuzzing::mutate_png(data, size, max_size, seed);
}

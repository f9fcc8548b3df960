// Any bytes into the tile decoder: an error or a well-formed image, never a crash, and never
// an allocation beyond the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tiles/png_decode.hpp"
#include "zarn_ui/image.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto decoded = maps::decode_png_rgba(std::span<const std::uint8_t>(data, size));
  if (decoded.is_ok()) {
    const maps::DecodedTile& tile = decoded.value();
    if (tile.width == 0 || tile.height == 0 || tile.width > maps::kMaxTileImageSide ||
        tile.height > maps::kMaxTileImageSide ||
        tile.rgba.size() != static_cast<std::size_t>(tile.width) * tile.height * 4) {
      std::abort();
    }
    // What the worker does next with the pixels.
    auto image = zarn_ui::Image::from_rgba8(tile.width, tile.height, decoded.value().rgba);
    if (image.empty()) std::abort();
  }
  return 0;
}

#pragma once
// Addresses of 256-pixel web-mercator tiles and where they land on screen.

#include <cstddef>
#include <cstdint>
#include <functional>

namespace maps {

inline constexpr double kTileSize = 256.0;
inline constexpr std::size_t kMaxDecodedTiles = 512;
// What 512 tiles of the usual 256 x 256 hold. A server sending larger images must not multiply
// the memory the count allows (a 4096-pixel tile is 256 of them).
inline constexpr std::size_t kMaxDecodedPixels = kMaxDecodedTiles * 256 * 256;
inline constexpr std::size_t kMaxFailureEntries = 4096;
inline constexpr int kMaxAncestorLevels = 8;
inline constexpr std::uint8_t kMaxDownloadZoom = 19;

// Column 0 is at longitude -180, row 0 at the north edge; zoom z has 2^z columns and rows.
struct TileKey {
  std::uint32_t x = 0;
  std::uint32_t y = 0;
  std::uint8_t z = 0;
  bool operator==(const TileKey&) const = default;
};

struct VisibleTile {
  TileKey key;
  double x0 = 0.0;
  double y0 = 0.0;
  double x1 = 0.0;
  double y1 = 0.0;
  bool operator==(const VisibleTile&) const = default;
};

struct TileKeyHash {
  std::size_t operator()(const TileKey& k) const noexcept {
    std::uint64_t h = (static_cast<std::uint64_t>(k.x) << 32) ^ (static_cast<std::uint64_t>(k.y) << 5) ^ k.z;
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    return static_cast<std::size_t>(h);
  }
};

}  // namespace maps

template <>
struct std::hash<maps::TileKey> : maps::TileKeyHash {};

#pragma once
// Which tiles cover a view, and which tiles make up a region for offline use.

#include <cstdint>
#include <utility>
#include <vector>

#include "model/records.hpp"
#include "tiles/tile_key.hpp"

namespace maps {

struct TileBox {
  LatLon min;
  LatLon max;
};

// The tiles that lie under the screen rectangle, rows top to bottom and columns left to right.
// Columns wrap around the world (the screen position keeps the unwrapped column, so a wide map
// repeats tiles); rows beyond the poles are skipped.
std::vector<VisibleTile> visible_tiles(double x0, double y0, double x1, double y1, double center_lat, double center_lon,
                                       double zoom, double center_x, double center_y);
// The ring of tiles just outside those: one column left and right, one row above and below, the
// corners included (wrapped and skipped the same way). A pan in any direction shows these first.
std::vector<TileKey> tiles_around_view(double x0, double y0, double x1, double y1, double center_lat, double center_lon,
                                       double zoom, double center_x, double center_y);

// The most tiles a region holds: some 18 GB of imagery, far past any area the offline panel
// offers. The whole world down to zoom 19 would be 366 billion tiles, and a region read from a
// document or an action may ask for that.
inline constexpr std::size_t kMaxRegionTiles = 1'000'000;

// Every tile of the box from min(z0, z1) to max(z0, z1) (capped at zoom 19), zoom by zoom,
// rows outer and columns inner, ascending. Only whole zoom levels are taken, from the coarsest,
// while the total stays within kMaxRegionTiles; the finer levels past that are left out (all of
// them when the coarsest alone is too many).
std::vector<TileKey> region_tiles(const TileBox& box, std::uint8_t z0, std::uint8_t z1);
// The number of keys region_tiles gives, without building them.
std::size_t region_tile_count(const TileBox& box, std::uint8_t z0, std::uint8_t z1);

// The tiles of one zoom level of a region: columns xlo ..= xhi, rows ylo ..= yhi.
struct TileSpan {
  std::uint8_t z = 0;
  std::uint32_t xlo = 0, xhi = 0, ylo = 0, yhi = 0;
  bool contains(const TileKey& key) const {
    return key.z == z && key.x >= xlo && key.x <= xhi && key.y >= ylo && key.y <= yhi;
  }
  std::size_t count() const { return std::size_t{xhi - xlo + 1} * (yhi - ylo + 1); }
  bool operator==(const TileSpan&) const = default;
};
// The zoom levels region_tiles gives, one span each in the same order: a region as a handful of
// rectangles however many tiles it holds.
std::vector<TileSpan> region_spans(const TileBox& box, std::uint8_t z0, std::uint8_t z1);
// Whether any of the spans holds the key.
bool spans_contain(const std::vector<TileSpan>& spans, const TileKey& key);

// The tile at zoom z that holds the position; latitude clamped to the mercator limit and
// both results clamped to 0 .. 2^z - 1 (non-finite input gives 0).
std::pair<std::uint32_t, std::uint32_t> tile_xy_for(double lat, double lon, std::uint8_t z);

// The integer zoom that the raster layer draws at a fractional zoom (halves away from zero).
int tile_zoom_for(double zoom);

}  // namespace maps

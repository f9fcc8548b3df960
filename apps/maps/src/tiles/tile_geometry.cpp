#include "tiles/tile_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "geo/geo.hpp"

namespace maps {

namespace {
// Beyond this the column index would not fit a TileKey.
constexpr int kMaxViewZoom = 31;
// A screen needs a dozen or so; this only guards absurd rectangles.
constexpr double kMaxTilesPerAxis = 1024.0;
}  // namespace

int tile_zoom_for(double zoom) {
  if (!std::isfinite(zoom)) return 0;
  return static_cast<int>(std::clamp(std::round(zoom), 0.0, static_cast<double>(kMaxViewZoom)));
}

std::vector<VisibleTile> visible_tiles(double x0, double y0, double x1, double y1, double center_lat, double center_lon,
                                       double zoom, double center_x, double center_y) {
  std::vector<VisibleTile> out;
  for (double v : {x0, y0, x1, y1, center_lat, center_lon, zoom, center_x, center_y}) {
    if (!std::isfinite(v)) return out;
  }
  const int z = tile_zoom_for(zoom);
  const double scale = std::exp2(zoom - z);
  const double size = kTileSize * scale;
  const Point c = project_mercator(center_lat, center_lon, z);
  const double tx0 = std::floor((c.x - (center_x - x0) / scale) / kTileSize);
  const double ty0 = std::floor((c.y - (center_y - y0) / scale) / kTileSize);
  const double columns = std::clamp(std::ceil((x1 - x0) / size) + 2.0, 0.0, kMaxTilesPerAxis);
  const double rows = std::clamp(std::ceil((y1 - y0) / size) + 2.0, 0.0, kMaxTilesPerAxis);
  if (!std::isfinite(tx0) || !std::isfinite(ty0)) return out;
  const std::int64_t n = std::int64_t{1} << z;
  const auto first_col = static_cast<std::int64_t>(tx0);
  const auto first_row = static_cast<std::int64_t>(ty0);
  out.reserve(static_cast<std::size_t>(columns * rows));
  for (std::int64_t ty = first_row; ty < first_row + static_cast<std::int64_t>(rows); ++ty) {
    if (ty < 0 || ty >= n) continue;
    for (std::int64_t tx = first_col; tx < first_col + static_cast<std::int64_t>(columns); ++tx) {
      const std::int64_t wrapped = ((tx % n) + n) % n;
      VisibleTile t;
      t.key = {static_cast<std::uint32_t>(wrapped), static_cast<std::uint32_t>(ty), static_cast<std::uint8_t>(z)};
      t.x0 = center_x + scale * (static_cast<double>(tx) * kTileSize - c.x);
      t.y0 = center_y + scale * (static_cast<double>(ty) * kTileSize - c.y);
      t.x1 = t.x0 + size;
      t.y1 = t.y0 + size;
      out.push_back(t);
    }
  }
  return out;
}

std::pair<std::uint32_t, std::uint32_t> tile_xy_for(double lat, double lon, std::uint8_t z) {
  const double n = std::exp2(static_cast<double>(z));
  auto clamp_index = [n](double v) -> std::uint32_t {
    if (!(v >= 0.0)) return 0;  // negative or NaN
    if (v >= n) return static_cast<std::uint32_t>(std::min(n - 1.0, 4294967295.0));
    return static_cast<std::uint32_t>(v);
  };
  const double x = std::floor((lon + 180.0) / 360.0 * n);
  const double la = std::clamp(lat, -kMercatorLatLimit, kMercatorLatLimit) * kDegToRad;
  const double y = std::floor((1.0 - std::log(std::tan(la) + 1.0 / std::cos(la)) / std::numbers::pi) / 2.0 * n);
  return {clamp_index(x), clamp_index(y)};
}

namespace {
TileSpan tile_span(const TileBox& box, std::uint8_t z) {
  // North-west and south-east corners; tile_xy_for keeps both inside 0 .. 2^z - 1.
  const auto [xa, ya] = tile_xy_for(box.max.lat, box.min.lon, z);
  const auto [xb, yb] = tile_xy_for(box.min.lat, box.max.lon, z);
  return {z, std::min(xa, xb), std::max(xa, xb), std::min(ya, yb), std::max(ya, yb)};
}

// Calls fn with the span of each zoom level of the region, coarsest first, while the total
// stays within kMaxRegionTiles. Returns that total.
template <class Fn>
std::size_t for_each_region_zoom(const TileBox& box, std::uint8_t z0, std::uint8_t z1, Fn&& fn) {
  const int zlo = std::min(z0, z1);
  const int zhi = std::min<int>(std::max(z0, z1), kMaxDownloadZoom);
  std::size_t total = 0;
  for (int z = zlo; z <= zhi; ++z) {
    const TileSpan r = tile_span(box, static_cast<std::uint8_t>(z));
    // At most 2^19 x 2^19 per level, so neither sum can wrap.
    if (total + r.count() > kMaxRegionTiles) break;
    total += r.count();
    fn(r);
  }
  return total;
}
}  // namespace

std::vector<TileKey> region_tiles(const TileBox& box, std::uint8_t z0, std::uint8_t z1) {
  std::vector<TileKey> out;
  out.reserve(region_tile_count(box, z0, z1));
  for_each_region_zoom(box, z0, z1, [&](const TileSpan& r) {
    for (std::uint32_t y = r.ylo; y <= r.yhi; ++y) {
      for (std::uint32_t x = r.xlo; x <= r.xhi; ++x) out.push_back(TileKey{x, y, r.z});
    }
  });
  return out;
}

std::size_t region_tile_count(const TileBox& box, std::uint8_t z0, std::uint8_t z1) {
  return for_each_region_zoom(box, z0, z1, [](const TileSpan&) {});
}

std::vector<TileSpan> region_spans(const TileBox& box, std::uint8_t z0, std::uint8_t z1) {
  std::vector<TileSpan> out;
  for_each_region_zoom(box, z0, z1, [&](const TileSpan& r) { out.push_back(r); });
  return out;
}

bool spans_contain(const std::vector<TileSpan>& spans, const TileKey& key) {
  return std::any_of(spans.begin(), spans.end(), [&](const TileSpan& s) { return s.contains(key); });
}

}  // namespace maps

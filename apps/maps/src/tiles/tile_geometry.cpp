#include "tiles/tile_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

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

namespace {

// The columns and rows of the tiles under a rectangle, at the level its zoom draws.
struct TileBlock {
  int z = 0;
  double scale = 1.0;  // screen pixels per tile pixel
  Point centre;        // the view's centre in tile pixels of level z
  std::int64_t first_col = 0, first_row = 0, columns = 0, rows = 0;
};

std::optional<TileBlock> tile_block(double x0, double y0, double x1, double y1, double center_lat, double center_lon,
                                    double zoom, double center_x, double center_y) {
  for (double v : {x0, y0, x1, y1, center_lat, center_lon, zoom, center_x, center_y}) {
    if (!std::isfinite(v)) return std::nullopt;
  }
  TileBlock b;
  b.z = tile_zoom_for(zoom);
  b.scale = std::exp2(zoom - b.z);
  b.centre = project_mercator(center_lat, center_lon, b.z);
  // The rectangle's edges in tile units; a tile that only touches an edge is not under it.
  const double left = (b.centre.x - (center_x - x0) / b.scale) / kTileSize;
  const double right = (b.centre.x + (x1 - center_x) / b.scale) / kTileSize;
  const double top = (b.centre.y - (center_y - y0) / b.scale) / kTileSize;
  const double bottom = (b.centre.y + (y1 - center_y) / b.scale) / kTileSize;
  const double first_col = std::floor(left), first_row = std::floor(top);
  // An empty rectangle lies over no tile.
  const double columns = right > left ? std::clamp(std::ceil(right) - first_col, 0.0, kMaxTilesPerAxis) : 0.0;
  const double rows = bottom > top ? std::clamp(std::ceil(bottom) - first_row, 0.0, kMaxTilesPerAxis) : 0.0;
  if (!std::isfinite(first_col) || !std::isfinite(first_row) || std::abs(first_col) > 9e15 ||
      std::abs(first_row) > 9e15) {
    return std::nullopt;
  }
  b.first_col = static_cast<std::int64_t>(first_col);
  b.first_row = static_cast<std::int64_t>(first_row);
  b.columns = static_cast<std::int64_t>(columns);
  b.rows = static_cast<std::int64_t>(rows);
  return b;
}

TileKey wrapped_key(const TileBlock& b, std::int64_t tx, std::int64_t ty) {
  const std::int64_t n = std::int64_t{1} << b.z;
  const std::int64_t wrapped = ((tx % n) + n) % n;
  return {static_cast<std::uint32_t>(wrapped), static_cast<std::uint32_t>(ty), static_cast<std::uint8_t>(b.z)};
}

bool row_exists(const TileBlock& b, std::int64_t ty) { return ty >= 0 && ty < (std::int64_t{1} << b.z); }

}  // namespace

std::vector<VisibleTile> visible_tiles(double x0, double y0, double x1, double y1, double center_lat, double center_lon,
                                       double zoom, double center_x, double center_y) {
  std::vector<VisibleTile> out;
  const auto b = tile_block(x0, y0, x1, y1, center_lat, center_lon, zoom, center_x, center_y);
  if (!b) return out;
  const double size = kTileSize * b->scale;
  out.reserve(static_cast<std::size_t>(b->columns * b->rows));
  for (std::int64_t ty = b->first_row; ty < b->first_row + b->rows; ++ty) {
    if (!row_exists(*b, ty)) continue;
    for (std::int64_t tx = b->first_col; tx < b->first_col + b->columns; ++tx) {
      VisibleTile t;
      t.key = wrapped_key(*b, tx, ty);
      t.x0 = center_x + b->scale * (static_cast<double>(tx) * kTileSize - b->centre.x);
      t.y0 = center_y + b->scale * (static_cast<double>(ty) * kTileSize - b->centre.y);
      t.x1 = t.x0 + size;
      t.y1 = t.y0 + size;
      out.push_back(t);
    }
  }
  return out;
}

std::vector<TileKey> tiles_around_view(double x0, double y0, double x1, double y1, double center_lat, double center_lon,
                                       double zoom, double center_x, double center_y) {
  std::vector<TileKey> out;
  const auto b = tile_block(x0, y0, x1, y1, center_lat, center_lon, zoom, center_x, center_y);
  if (!b || b->columns == 0 || b->rows == 0) return out;
  const std::int64_t left = b->first_col - 1, right = b->first_col + b->columns;
  const std::int64_t top = b->first_row - 1, bottom = b->first_row + b->rows;
  out.reserve(static_cast<std::size_t>(2 * (b->columns + b->rows) + 4));
  for (std::int64_t ty = top; ty <= bottom; ++ty) {
    if (!row_exists(*b, ty)) continue;
    const bool edge_row = ty == top || ty == bottom;
    for (std::int64_t tx = left; tx <= right; tx += (edge_row || tx == right) ? 1 : right - left) {
      out.push_back(wrapped_key(*b, tx, ty));
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

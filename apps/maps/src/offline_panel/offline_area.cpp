#include "offline_panel/offline_area.hpp"

#include <algorithm>

#include <fmt/format.h>

#include "format/rounding.hpp"
#include "offline_panel/offline_panel.hpp"
#include "tiles/tile_geometry.hpp"
#include "transitions/view.hpp"

namespace maps {

namespace {

constexpr double kMinFitWidth = 400.0;
constexpr double kMinFitHeight = 300.0;
constexpr double kFitPadding = 40.0;

std::uint8_t clamp_zoom(std::int64_t z) {
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(z, 0, kMaxDownloadZoom));
}

GeoBox normalised_box(LatLon a, LatLon b) {
  return {std::min(a.lat, b.lat), std::min(a.lon, b.lon), std::max(a.lat, b.lat), std::max(a.lon, b.lon)};
}

}  // namespace

std::uint8_t download_zoom(double zoom) { return clamp_zoom(round_half_away_i64(zoom)); }

OfflineDownloadArea offline_download_area(const OfflinePanel& panel, const GeoBox& visible, std::uint8_t z,
                                          const zarn_ui::Rect& bounds) {
  OfflineDownloadArea area;
  if (const auto& chosen = panel.chosen_area()) {
    const std::vector<LatLon> corners = {
        chosen->min, {chosen->min.lat, chosen->max.lon}, chosen->max, {chosen->max.lat, chosen->min.lon}};
    const auto fitted = viewport_for_points(corners, std::max(bounds.width(), kMinFitWidth),
                                            std::max(bounds.height(), kMinFitHeight), kFitPadding);
    area.z0 = fitted ? clamp_zoom(round_half_away_i64(fitted->zoom)) : kFallbackAreaZoom;
    area.box = normalised_box(chosen->min, chosen->max);
    area.name = chosen->name;
  } else {
    area.box = visible;
    area.z0 = clamp_zoom(z);
  }
  area.z1 = static_cast<std::uint8_t>(std::min<int>(area.z0 + panel.download_detail(), kMaxDownloadZoom));
  return area;
}

std::vector<TileKey> area_tiles(const DownloadedRegion& region) {
  const GeoBox b = normalised_box(region.min, region.max);
  return region_tiles(TileBox{{b.min_lat, b.min_lon}, {b.max_lat, b.max_lon}}, region.z0, region.z1);
}

std::vector<TileSpan> area_spans(const DownloadedRegion& region) {
  const GeoBox b = normalised_box(region.min, region.max);
  return region_spans(TileBox{{b.min_lat, b.min_lon}, {b.max_lat, b.max_lon}}, region.z0, region.z1);
}

std::string download_region_name(const OfflineDownloadArea& area, const std::vector<Place>& places) {
  if (area.name) return *area.name;
  const GeoBox& b = area.box;
  for (const Place& p : places) {
    if (p.pos.lat >= b.min_lat && p.pos.lat <= b.max_lat && p.pos.lon >= b.min_lon && p.pos.lon <= b.max_lon) {
      return p.name;
    }
  }
  return fmt::format("{:.3f}, {:.3f}", (b.min_lat + b.max_lat) / 2.0, (b.min_lon + b.max_lon) / 2.0);
}

std::string download_region_id(const OfflineDownloadArea& area) {
  const GeoBox& b = area.box;
  return fmt::format("region:{:.6f}:{:.6f}:{:.6f}:{:.6f}:z{}-{}", b.min_lat, b.min_lon, b.max_lat, b.max_lon, area.z0,
                     area.z1);
}

}  // namespace maps

#pragma once
// What a download covers: the chosen area fitted to the window, or the visible view, over a
// range of zoom levels; the tiles of a downloaded region; and the name and id a download records.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "geo/screen_view.hpp"
#include "model/records.hpp"
#include "tiles/tile_geometry.hpp"
#include "tiles/tile_key.hpp"

namespace maps {

class OfflinePanel;

// The zoom a chosen area gets when its box fits at no zoom.
inline constexpr std::uint8_t kFallbackAreaZoom = 12;

struct OfflineDownloadArea {
  std::optional<std::string> name;
  GeoBox box;  // normalised: min below max
  std::uint8_t z0 = 0;
  std::uint8_t z1 = 0;
  bool operator==(const OfflineDownloadArea&) const = default;
};

// The model's zoom rounded half away from zero and clamped to 0 ..= 19.
std::uint8_t download_zoom(double zoom);

// With a chosen area: its box fitted into the widget (at least 400 x 300, padding 40) gives the
// first zoom level, and its name comes along. Without: the visible box from zoom `z`. The last
// level is the first plus the panel's detail, at most 19.
OfflineDownloadArea offline_download_area(const OfflinePanel& panel, const GeoBox& visible, std::uint8_t z,
                                          const zarn_ui::Rect& bounds);

// Every tile of the region's box (corners normalised) from z0 to z1.
std::vector<TileKey> area_tiles(const DownloadedRegion& region);
// The same tiles as one span per zoom level.
std::vector<TileSpan> area_spans(const DownloadedRegion& region);

// The area's own name; else the first place inside the box (edges included); else the box
// centre as "lat, lon" with three decimals.
std::string download_region_name(const OfflineDownloadArea& area, const std::vector<Place>& places);
// "region:{min lat}:{min lon}:{max lat}:{max lon}:z{z0}-{z1}", six decimals each.
std::string download_region_id(const OfflineDownloadArea& area);

}  // namespace maps

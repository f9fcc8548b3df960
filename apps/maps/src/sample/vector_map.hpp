#pragma once
// The street geometry the map draws when it has no raster tiles, and the traffic levels on it.

#include <array>
#include <cstdint>
#include <vector>

#include "model/records.hpp"

namespace maps {

// Area classes: 0 water, 1 park, 2 built-up block; other values are never drawn.
inline constexpr std::uint8_t kAreaWater = 0;
inline constexpr std::uint8_t kAreaPark = 1;
inline constexpr std::uint8_t kAreaBlock = 2;

// Road classes, 0 the widest: avenue, secondary, grid street, minor (drawn, never generated).
inline constexpr std::uint8_t kRoadAvenue = 0;
inline constexpr std::uint8_t kRoadSecondary = 1;
inline constexpr std::uint8_t kRoadGrid = 2;
inline constexpr std::uint8_t kRoadMinor = 3;

// A ring of points; the first point is not repeated at the end.
struct MapArea {
  std::vector<LatLon> ring;
  std::uint8_t area_class = 0;
  bool operator==(const MapArea&) const = default;
};

// An open polyline.
struct MapRoad {
  std::vector<LatLon> points;
  std::uint8_t road_class = 0;
  bool operator==(const MapRoad&) const = default;
};

struct VectorMap {
  std::vector<MapArea> areas;
  std::vector<MapRoad> roads;
  std::vector<LatLon> river;
  bool operator==(const VectorMap&) const = default;
};

// Traffic levels: 0 free flowing, 1 moderate, 2 heavy, 3 standstill.
inline constexpr std::uint8_t kTrafficLevelCount = 4;

// A stretch of street with one traffic level; an open polyline (the generated ones have two points).
struct TrafficSegment {
  std::vector<LatLon> points;
  std::uint8_t level = 0;
  bool operator==(const TrafficSegment&) const = default;
};

inline bool vector_map_empty(const VectorMap& map) {
  return map.areas.empty() && map.roads.empty() && map.river.empty();
}

// How many segments sit at each level; a level byte past 3 is not counted.
inline std::array<std::uint64_t, kTrafficLevelCount> traffic_level_counts(const std::vector<TrafficSegment>& segments) {
  std::array<std::uint64_t, kTrafficLevelCount> counts{};
  for (const TrafficSegment& s : segments) {
    if (s.level < kTrafficLevelCount) ++counts[s.level];
  }
  return counts;
}

}  // namespace maps

#pragma once
// The street geometry the map draws when it has no raster tiles, and the traffic levels on it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/records.hpp"

namespace maps {

// What an area is; each class has its own fill and its own place in the drawing order.
enum class AreaClass : std::uint8_t { Water, Park, Block };

// Road classes, the widest first: avenue, secondary, grid street, minor (drawn, never generated).
enum class RoadClass : std::uint8_t { Avenue, Secondary, Grid, Minor };

// A ring of points; the first point is not repeated at the end.
struct MapArea {
  std::vector<LatLon> ring;
  AreaClass area_class = AreaClass::Water;
  bool operator==(const MapArea&) const = default;
};

// An open polyline.
struct MapRoad {
  std::vector<LatLon> points;
  RoadClass road_class = RoadClass::Avenue;
  bool operator==(const MapRoad&) const = default;
};

struct VectorMap {
  std::vector<MapArea> areas;
  std::vector<MapRoad> roads;
  std::vector<LatLon> river;
  bool operator==(const VectorMap&) const = default;
};

// How congested a stretch of street is, from free flowing to standstill.
enum class TrafficLevel : std::uint8_t { Free, Moderate, Heavy, Standstill };
inline constexpr std::size_t kTrafficLevelCount = 4;

// A stretch of street with one traffic level; an open polyline (the generated ones have two points).
struct TrafficSegment {
  std::vector<LatLon> points;
  TrafficLevel level = TrafficLevel::Free;
  bool operator==(const TrafficSegment&) const = default;
};

inline bool vector_map_empty(const VectorMap& map) {
  return map.areas.empty() && map.roads.empty() && map.river.empty();
}

// How many segments sit at each level, in the order of the levels.
inline std::array<std::uint64_t, kTrafficLevelCount> traffic_level_counts(const std::vector<TrafficSegment>& segments) {
  std::array<std::uint64_t, kTrafficLevelCount> counts{};
  for (const TrafficSegment& s : segments) {
    const auto i = static_cast<std::size_t>(s.level);
    if (i < kTrafficLevelCount) ++counts[i];
  }
  return counts;
}

}  // namespace maps

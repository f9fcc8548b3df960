#pragma once
// Traffic levels derived from the street network by fixed arithmetic; no service is asked.

#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_map.hpp"

namespace maps {

inline constexpr const char* kSampleTrafficSource = "sample data";

struct SyntheticTraffic {
  std::vector<TrafficSegment> segments;
  std::string source;
  bool operator==(const SyntheticTraffic&) const = default;
};

// The level of a road class for the segment value v (0..99). Avenues and secondary streets are
// never free flowing, grid streets never stand still.
TrafficLevel traffic_level(RoadClass road_class, std::uint64_t v);
// Avenues, secondary and grid streets get levels; minor roads do not.
bool carries_traffic(RoadClass road_class);

// The value of segment s of a road of n points starting at p.
std::uint64_t traffic_value(std::uint64_t n, LatLon p, std::uint64_t s);

// One two-point segment per street segment, in road order; minor roads and roads of fewer than
// two points get none. The source is "sample data".
SyntheticTraffic synthetic_traffic(const VectorMap& map);

}  // namespace maps

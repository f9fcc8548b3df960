#include "sample/synthetic_traffic.hpp"

#include <cmath>

namespace maps {

namespace {

// floor(|x| * 1000) as an unsigned integer; NaN gives 0 and values past the range saturate, so
// no coordinate can make the conversion undefined.
std::uint64_t milli_degrees(double x) {
  const double m = std::floor(std::fabs(x) * 1000.0);
  if (!(m >= 0.0)) return 0;
  if (m >= 18446744073709551616.0) return UINT64_MAX;
  return static_cast<std::uint64_t>(m);
}

}  // namespace

TrafficLevel traffic_level(RoadClass road_class, std::uint64_t v) {
  using enum TrafficLevel;
  switch (road_class) {
    case RoadClass::Avenue: return v < 20 ? Moderate : v < 60 ? Heavy : Standstill;
    case RoadClass::Secondary: return v < 35 ? Moderate : v < 80 ? Heavy : Standstill;
    default: return v < 66 ? Free : v < 92 ? Moderate : Heavy;
  }
}

bool carries_traffic(RoadClass road_class) {
  switch (road_class) {
    case RoadClass::Avenue:
    case RoadClass::Secondary:
    case RoadClass::Grid: return true;
    default: return false;
  }
}

std::uint64_t traffic_value(std::uint64_t n, LatLon p, std::uint64_t s) {
  return (n + 73 * milli_degrees(p.lat) + 19 * milli_degrees(p.lon) + 101 * s) % 100;
}

SyntheticTraffic synthetic_traffic(const VectorMap& map) {
  SyntheticTraffic out;
  out.source = kSampleTrafficSource;
  std::size_t total = 0;
  for (const MapRoad& road : map.roads) total += road.points.size() > 1 ? road.points.size() - 1 : 0;
  out.segments.reserve(total);
  for (const MapRoad& road : map.roads) {
    if (!carries_traffic(road.road_class) || road.points.size() < 2) continue;
    const std::uint64_t n = road.points.size();
    for (std::size_t s = 0; s + 1 < road.points.size(); ++s) {
      const std::uint64_t v = traffic_value(n, road.points[s], s);
      out.segments.push_back({{road.points[s], road.points[s + 1]}, traffic_level(road.road_class, v)});
    }
  }
  return out;
}

}  // namespace maps

#include "sample/demo_city.hpp"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <numbers>
#include <utility>

#include "sample/sample_grid.hpp"

// Every expression below keeps the operand order of the city's definition: with contraction off
// the result is the same bit for bit on every build.

namespace maps {

namespace {

struct BlobSpec {
  int n;
  double lat;
  double lon;
  double rx;
  double ry;
  AreaClass area_class;
};

constexpr BlobSpec kBlobs[] = {
    {10, 48.1503, 11.5808, 2.4, 2.0, AreaClass::Park},
    {9, 48.1287, 11.5538, 1.6, 1.4, AreaClass::Park},
    {8, 48.1215, 11.5952, 1.3, 1.1, AreaClass::Park},
    {9, 48.15198, 11.58188, 0.7, 0.5, AreaClass::Water},
};

struct OpenSpace {
  double x;
  double y;
  double radius;
};

// Squares and parks where no block is built.
constexpr OpenSpace kOpenSpaces[] = {{1.5, 5.5, 2.6}, {-6.0, -3.5, 1.8}, {5.5, -6.5, 1.5}};

constexpr LatLon kRingRoad[] = {
    {48.1179, 11.5394}, {48.1131, 11.5682}, {48.1155, 11.597},  {48.1299, 11.615},  {48.1515, 11.615},
    {48.1611, 11.5898}, {48.1611, 11.5574}, {48.1467, 11.5358}, {48.1299, 11.5358}, {48.1179, 11.5394},
};

constexpr int kMinGx = -16;
constexpr int kMaxGx = 16;
constexpr int kMinGy = -13;
constexpr int kMaxGy = 13;

std::vector<LatLon> river_points() {
  std::vector<LatLon> river;
  river.reserve(kMaxGy - kMinGy + 1);
  for (int ti = kMinGy; ti <= kMaxGy; ++ti) {
    const double t = ti;
    const double gx = std::sin(0.55 * t) * 1.4 + std::cos(0.21 * t) * 0.6 + 8.5;
    river.push_back(sample_grid_point(gx, t));
  }
  return river;
}

bool in_open_space(double cx, double cy) {
  for (const OpenSpace& o : kOpenSpaces) {
    const double dx = cx - o.x;
    const double dy = cy - o.y;
    if (std::sqrt(dx * dx + dy * dy) < o.radius) return true;
  }
  return false;
}

bool in_river_corridor(double cx, double cy) { return std::fabs(cx - (std::sin(0.55 * cy) * 1.4 + 8.5)) < 1.1; }

void append_blocks(CityRandom& rng, std::vector<MapArea>& areas) {
  for (int gxi = kMinGx; gxi < kMaxGx; ++gxi) {
    for (int gyi = kMinGy; gyi < kMaxGy; ++gyi) {
      const double gx0 = gxi;
      const double gy0 = gyi;
      const double cx = gx0 + 0.5;
      const double cy = gy0 + 0.5;
      if (in_open_space(cx, cy) || in_river_corridor(cx, cy)) continue;
      if (rng.next_unit() > 0.62) continue;
      const double u1 = rng.next_unit();
      const double u2 = rng.next_unit();
      const double u3 = rng.next_unit();
      const double inset = 0.16 + 0.14 * u1;
      const double dx = 0.1 * u2 - 0.05;
      const double dy = 0.1 * u3 - 0.05;
      const double x0 = gx0 + inset + dx;
      const double x1 = gx0 + 1.0 - inset + dx;
      const double y0 = gy0 + inset + dy;
      const double y1 = gy0 + 1.0 - inset + dy;
      areas.push_back(
          {{sample_grid_point(x0, y0), sample_grid_point(x1, y0), sample_grid_point(x1, y1), sample_grid_point(x0, y1)},
           AreaClass::Block});
    }
  }
}

// Grid streets wobble a little across their direction so the map does not look ruled.
void append_grid_streets(CityRandom& rng, std::vector<MapRoad>& roads) {
  for (int gxi = kMinGx; gxi <= kMaxGx; ++gxi) {
    MapRoad road{{}, RoadClass::Grid};
    road.points.reserve(kMaxGy - kMinGy + 1);
    const double gx = gxi;
    for (int gyi = kMinGy; gyi <= kMaxGy; ++gyi) {
      const double u = rng.next_unit();
      road.points.push_back(sample_grid_point(gx + 0.08 * u - 0.04, gyi));
    }
    roads.push_back(std::move(road));
  }
  for (int gyi = kMinGy; gyi <= kMaxGy; ++gyi) {
    MapRoad road{{}, RoadClass::Grid};
    road.points.reserve(kMaxGx - kMinGx + 1);
    const double gy = gyi;
    for (int gxi = kMinGx; gxi <= kMaxGx; ++gxi) {
      const double u = rng.next_unit();
      road.points.push_back(sample_grid_point(gxi, gy + 0.08 * u - 0.04));
    }
    roads.push_back(std::move(road));
  }
}

}  // namespace

std::vector<LatLon> blob_polygon(CityRandom& rng, int n, double center_lat, double center_lon, double rx, double ry) {
  std::vector<LatLon> ring;
  if (n <= 0) return ring;
  ring.reserve(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) {
    const double a = 2.0 * std::numbers::pi * k / n;
    const double u = rng.next_unit();
    const double s = 0.78 + u * (1.18 - 0.78);
    ring.push_back({center_lat + ry * std::sin(a) * s * kSampleGridLatStep,
                    center_lon + rx * std::cos(a) * s * kSampleGridLonStep});
  }
  return ring;
}

std::vector<LatLon> sample_street_east(int first_gx, int last_gx) {
  std::vector<LatLon> points;
  for (int gx = first_gx; gx <= last_gx; ++gx) points.push_back(sample_grid_point(gx, 0));
  return points;
}

std::vector<LatLon> sample_street_north(int first_gy, int last_gy) {
  std::vector<LatLon> points;
  for (int gy = first_gy; gy <= last_gy; ++gy) points.push_back(sample_grid_point(0, gy));
  return points;
}

LatLon sample_point(int i) {
  const double t = i;
  return sample_grid_point(0.8 * t - 3.0, t);
}

VectorMap demo_city_geometry() {
  CityRandom rng;
  VectorMap map;
  map.river = river_points();

  for (const BlobSpec& b : kBlobs) {
    map.areas.push_back({blob_polygon(rng, b.n, b.lat, b.lon, b.rx, b.ry), b.area_class});
  }
  append_blocks(rng, map.areas);

  map.roads.reserve(64);
  append_grid_streets(rng, map.roads);
  map.roads.push_back({sample_street_east(kMinGx, kMaxGx), RoadClass::Avenue});
  map.roads.push_back({sample_street_north(kMinGy, kMaxGy), RoadClass::Avenue});
  MapRoad diagonal{{}, RoadClass::Secondary};
  for (int i = kMinGy; i <= kMaxGy; ++i) diagonal.points.push_back(sample_point(i));
  map.roads.push_back(std::move(diagonal));
  map.roads.push_back({std::vector<LatLon>(std::begin(kRingRoad), std::end(kRingRoad)), RoadClass::Secondary});
  return map;
}

}  // namespace maps

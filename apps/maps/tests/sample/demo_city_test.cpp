#include "sample/demo_city.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "sample/city_random.hpp"
#include "sample/sample_grid.hpp"

namespace maps {
namespace {

// FNV-1a over the class bytes and the bit pattern of every coordinate, in list order.
class Fingerprint {
 public:
  void byte(std::uint8_t b) {
    hash_ ^= b;
    hash_ *= 0x100000001b3ULL;
  }
  void number(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    for (int i = 0; i < 8; ++i) byte(static_cast<std::uint8_t>(bits >> (8 * i)));
  }
  void point(LatLon p) {
    number(p.lat);
    number(p.lon);
  }
  std::uint64_t value() const { return hash_; }

 private:
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

std::uint64_t fingerprint(const VectorMap& map) {
  Fingerprint f;
  for (const MapArea& a : map.areas) {
    f.byte(static_cast<std::uint8_t>(a.area_class));
    for (LatLon p : a.ring) f.point(p);
  }
  for (const MapRoad& r : map.roads) {
    f.byte(static_cast<std::uint8_t>(r.road_class));
    for (LatLon p : r.points) f.point(p);
  }
  for (LatLon p : map.river) f.point(p);
  return f.value();
}

TEST(CityRandom, FirstDraws) {
  CityRandom rng;
  EXPECT_EQ(rng.state(), 5903410037371432449ULL);
  const struct {
    std::uint64_t state;
    double u;
  } expected[] = {
      {0xd7a875d8ae0bd67cULL, 0x1.af50ebb15c17ap-1},
      {0xd7a0654a150fb91bULL, 0x1.af40ca942a1f7p-1},
      {0x09923cd138b6700eULL, 0x1.32479a2716ce0p-5},
      {0xf0cf2d51d13625c5ULL, 0x1.e19e5aa3a26c4p-1},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(rng.next_unit(), e.u);
    EXPECT_EQ(rng.state(), e.state);
  }
}

TEST(CityRandom, StaysInUnitInterval) {
  CityRandom rng(UINT64_MAX);
  for (int i = 0; i < 10000; ++i) {
    const double u = rng.next_unit();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
}

TEST(BlobPolygon, DrawsOncePerVertex) {
  CityRandom rng;
  CityRandom reference;
  const auto ring = blob_polygon(rng, 10, 48.1503, 11.5808, 2.4, 2.0);
  ASSERT_EQ(ring.size(), 10u);
  for (int i = 0; i < 10; ++i) reference.next_unit();
  EXPECT_EQ(rng.state(), reference.state());
  EXPECT_TRUE(blob_polygon(rng, 0, 0, 0, 1, 1).empty());
  EXPECT_TRUE(blob_polygon(rng, -3, 0, 0, 1, 1).empty());
  EXPECT_EQ(rng.state(), reference.state());
}

TEST(DemoCity, CountsAndOrder) {
  const VectorMap city = demo_city_geometry();
  EXPECT_EQ(city.river.size(), 27u);
  ASSERT_EQ(city.areas.size(), 451u);  // four blobs, then 447 blocks
  const AreaClass blob_classes[] = {AreaClass::Park, AreaClass::Park, AreaClass::Park, AreaClass::Water};
  const std::size_t blob_sizes[] = {10, 9, 8, 9};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(city.areas[i].area_class, blob_classes[i]) << i;
    EXPECT_EQ(city.areas[i].ring.size(), blob_sizes[i]) << i;
  }
  for (std::size_t i = 4; i < city.areas.size(); ++i) {
    EXPECT_EQ(city.areas[i].area_class, AreaClass::Block);
    EXPECT_EQ(city.areas[i].ring.size(), 4u);
  }

  ASSERT_EQ(city.roads.size(), 64u);
  for (int i = 0; i < 33; ++i) EXPECT_EQ(city.roads[i].points.size(), 27u) << i;
  for (int i = 33; i < 60; ++i) EXPECT_EQ(city.roads[i].points.size(), 33u) << i;
  for (int i = 0; i < 60; ++i) EXPECT_EQ(city.roads[i].road_class, RoadClass::Grid) << i;
  const struct {
    RoadClass road_class;
    std::size_t points;
  } tail[] = {{RoadClass::Avenue, 33}, {RoadClass::Avenue, 27}, {RoadClass::Secondary, 27}, {RoadClass::Secondary, 10}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(city.roads[60 + i].road_class, tail[i].road_class) << i;
    EXPECT_EQ(city.roads[60 + i].points.size(), tail[i].points) << i;
  }
  EXPECT_EQ(city.roads.back().points.front(), city.roads.back().points.back());
}

TEST(DemoCity, WholeCityFingerprint) { EXPECT_EQ(fingerprint(demo_city_geometry()), 0xf8b5b31a7a92bbabULL); }

TEST(DemoCity, SameEveryCall) { EXPECT_EQ(demo_city_geometry(), demo_city_geometry()); }

TEST(DemoCity, KnownPoints) {
  const VectorMap city = demo_city_geometry();
  EXPECT_EQ(city.river.front(), (LatLon{48.1059, 11.600178546497665}));
  EXPECT_EQ(city.river.back(), (LatLon{48.168299999999995, 11.607862239108668}));
  const MapArea& first_block = city.areas[4];
  EXPECT_EQ(first_block.ring[0], (LatLon{48.108771223255275, 11.518567217631615}));
  EXPECT_EQ(first_block.ring[2], (LatLon{48.11027621148099, 11.520824699970193}));
  EXPECT_EQ(city.areas.back().ring[2], (LatLon{48.16791538908316, 11.63237551431697}));
  EXPECT_EQ(city.roads[0].points[0], (LatLon{48.1059, 11.517783338490927}));
  EXPECT_EQ(city.roads[59].points.back(), (LatLon{48.16829707582144, 11.633000000000001}));
  // The avenues and the diagonal are the straight streets, without jitter.
  EXPECT_EQ(city.roads[60].points, sample_street_east(-16, 16));
  EXPECT_EQ(city.roads[61].points, sample_street_north(-13, 13));
  EXPECT_EQ(city.roads[62].points.front(), sample_point(-13));
  EXPECT_EQ(sample_point(5), sample_grid_point(0.8 * 5 - 3, 5));
}

TEST(DemoCity, FirstParkVertexLiesDueEast) {
  const VectorMap city = demo_city_geometry();
  const LatLon v = city.areas[0].ring[0];
  EXPECT_EQ(v.lat, 48.1503);
  const double east_units = (v.lon - 11.5808) / kSampleGridLonStep;
  EXPECT_GE(east_units, 0.78 * 2.4);
  EXPECT_LE(east_units, 1.18 * 2.4);
  EXPECT_EQ(v.lon, 11.590450583650611);
}

TEST(DemoCity, BlocksStayOutOfOpenSpacesAndTheRiver) {
  const VectorMap city = demo_city_geometry();
  for (std::size_t i = 4; i < city.areas.size(); ++i) {
    const auto& r = city.areas[i].ring;
    const double cx = ((r[0].lon + r[2].lon) / 2 - kSampleGridLon) / kSampleGridLonStep;
    const double cy = ((r[0].lat + r[2].lat) / 2 - kSampleGridLat) / kSampleGridLatStep;
    EXPECT_GE(std::hypot(cx - 1.5, cy - 5.5), 2.6 - 0.1) << i;
    EXPECT_GE(std::fabs(cx - (std::sin(0.55 * cy) * 1.4 + 8.5)), 1.1 - 0.1) << i;
  }
}

}  // namespace
}  // namespace maps

#include "sample/synthetic_traffic.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "sample/demo_city.hpp"

namespace maps {
namespace {

TEST(TrafficLevel, Thresholds) {
  const struct {
    std::uint8_t road_class;
    std::uint64_t v;
    std::uint8_t level;
  } cases[] = {
      {kRoadAvenue, 0, 1},     {kRoadAvenue, 19, 1},    {kRoadAvenue, 20, 2},    {kRoadAvenue, 59, 2},
      {kRoadAvenue, 60, 3},    {kRoadAvenue, 99, 3},    {kRoadSecondary, 34, 1}, {kRoadSecondary, 35, 2},
      {kRoadSecondary, 79, 2}, {kRoadSecondary, 80, 3}, {kRoadGrid, 0, 0},       {kRoadGrid, 65, 0},
      {kRoadGrid, 66, 1},      {kRoadGrid, 91, 1},      {kRoadGrid, 92, 2},      {kRoadGrid, 99, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(traffic_level(c.road_class, c.v), c.level) << int(c.road_class) << " v=" << c.v;
  }
}

TEST(TrafficValue, WorkedExamples) {
  // East-west avenue, first segment: 33 + 73 * 48137 + 19 * 11517 = 3732857.
  EXPECT_EQ(traffic_value(33, {48.1371, 11.5754 - 16 * 0.0036}, 0), 57u);
  EXPECT_EQ(traffic_value(33, {48.1371, 11.5178}, 1), (57u + 101u) % 100u);
  // Signs do not matter: the absolute values are used.
  EXPECT_EQ(traffic_value(2, {-0.0019, -0.0029}, 0), (2u + 73u * 1u + 19u * 2u) % 100u);
  // Non-finite coordinates read as 0 instead of reaching an integer cast.
  EXPECT_EQ(traffic_value(5, {std::nan(""), 0.0}, 0), 5u);
  EXPECT_EQ(traffic_value(5, {std::numeric_limits<double>::infinity(), 0.0}, 0), (5u + 73u * UINT64_MAX) % 100u);
}

TEST(SyntheticTraffic, DemoCity) {
  const VectorMap city = demo_city_geometry();
  const SyntheticTraffic t = synthetic_traffic(city);
  EXPECT_EQ(t.source, "sample data");
  ASSERT_EQ(t.segments.size(), 1815u);  // 33*26 + 27*32 + 32 + 26 + 26 + 9
  const auto counts = traffic_level_counts(t.segments);
  EXPECT_EQ(counts, (std::array<std::uint64_t, 4>{1137, 464, 185, 29}));

  // Segments follow the roads point by point.
  std::size_t i = 0;
  for (const MapRoad& road : city.roads) {
    for (std::size_t s = 0; s + 1 < road.points.size(); ++s, ++i) {
      ASSERT_EQ(t.segments[i].points, (std::vector<LatLon>{road.points[s], road.points[s + 1]}));
      if (road.road_class == kRoadGrid) {
        EXPECT_LE(t.segments[i].level, 2);
      } else {
        EXPECT_GE(t.segments[i].level, 1);
      }
    }
  }

  // First segments of the east-west avenue, the diagonal and the ring road.
  const std::size_t avenue = 33 * 26 + 27 * 32;
  EXPECT_EQ(t.segments[avenue].points[0], (LatLon{48.1371, 11.5754 - 16 * 0.0036}));
  EXPECT_EQ(t.segments[avenue].level, 2);
  EXPECT_EQ(t.segments[avenue + 32 + 26].level, 1);
  EXPECT_EQ(t.segments[avenue + 32 + 26 + 26].level, 3);

  EXPECT_EQ(synthetic_traffic(city), t);
}

TEST(SyntheticTraffic, SkipsWhatHasNoTraffic) {
  const MapRoad one_point{{{48.1, 11.5}}, kRoadAvenue};
  const MapRoad minor{{{48.1, 11.5}, {48.2, 11.6}}, kRoadMinor};
  const MapRoad unknown{{{48.1, 11.5}, {48.2, 11.6}}, 7};
  const MapRoad grid{{{48.1, 11.5}, {48.2, 11.6}, {48.3, 11.7}}, kRoadGrid};

  EXPECT_TRUE(synthetic_traffic(VectorMap{}).segments.empty());
  EXPECT_EQ(synthetic_traffic(VectorMap{}).source, "sample data");
  EXPECT_TRUE(synthetic_traffic(VectorMap{{}, {one_point, minor, unknown}, {}}).segments.empty());

  const auto t = synthetic_traffic(VectorMap{{}, {one_point, grid}, {}});
  ASSERT_EQ(t.segments.size(), 2u);
  // n = 3; 73 * 48100 + 19 * 11500 = 3729800, then + 101 for the second segment.
  EXPECT_EQ(t.segments[0].level, traffic_level(kRoadGrid, 3));
  EXPECT_EQ(traffic_value(3, grid.points[1], 1), (3u + 73u * 48200u + 19u * 11600u + 101u) % 100u);
}

TEST(VectorMapHelpers, EmptinessAndCounts) {
  EXPECT_TRUE(vector_map_empty(VectorMap{}));
  EXPECT_FALSE(vector_map_empty(VectorMap{{}, {}, {{1, 2}}}));
  EXPECT_FALSE(vector_map_empty(VectorMap{{MapArea{}}, {}, {}}));
  const std::vector<TrafficSegment> segs = {{{}, 0}, {{}, 3}, {{}, 3}, {{}, 9}};
  EXPECT_EQ(traffic_level_counts(segs), (std::array<std::uint64_t, 4>{1, 0, 0, 2}));
}

}  // namespace
}  // namespace maps

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
    RoadClass road_class;
    std::uint64_t v;
    int level;
  } cases[] = {
      {RoadClass::Avenue, 0, 1},     {RoadClass::Avenue, 19, 1},    {RoadClass::Avenue, 20, 2},
      {RoadClass::Avenue, 59, 2},    {RoadClass::Avenue, 60, 3},    {RoadClass::Avenue, 99, 3},
      {RoadClass::Secondary, 34, 1}, {RoadClass::Secondary, 35, 2}, {RoadClass::Secondary, 79, 2},
      {RoadClass::Secondary, 80, 3}, {RoadClass::Grid, 0, 0},       {RoadClass::Grid, 65, 0},
      {RoadClass::Grid, 66, 1},      {RoadClass::Grid, 91, 1},      {RoadClass::Grid, 92, 2},
      {RoadClass::Grid, 99, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(traffic_level(c.road_class, c.v)), c.level) << int(c.road_class) << " v=" << c.v;
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
      if (road.road_class == RoadClass::Grid) {
        EXPECT_NE(t.segments[i].level, TrafficLevel::Standstill);
      } else {
        EXPECT_NE(t.segments[i].level, TrafficLevel::Free);
      }
    }
  }

  // First segments of the east-west avenue, the diagonal and the ring road.
  const std::size_t avenue = 33 * 26 + 27 * 32;
  EXPECT_EQ(t.segments[avenue].points[0], (LatLon{48.1371, 11.5754 - 16 * 0.0036}));
  EXPECT_EQ(t.segments[avenue].level, TrafficLevel::Heavy);
  EXPECT_EQ(t.segments[avenue + 32 + 26].level, TrafficLevel::Moderate);
  EXPECT_EQ(t.segments[avenue + 32 + 26 + 26].level, TrafficLevel::Standstill);

  EXPECT_EQ(synthetic_traffic(city), t);
}

TEST(SyntheticTraffic, SkipsWhatHasNoTraffic) {
  const MapRoad one_point{{{48.1, 11.5}}, RoadClass::Avenue};
  const MapRoad minor{{{48.1, 11.5}, {48.2, 11.6}}, RoadClass::Minor};
  const MapRoad unknown{{{48.1, 11.5}, {48.2, 11.6}}, static_cast<RoadClass>(7)};
  const MapRoad grid{{{48.1, 11.5}, {48.2, 11.6}, {48.3, 11.7}}, RoadClass::Grid};

  EXPECT_TRUE(synthetic_traffic(VectorMap{}).segments.empty());
  EXPECT_EQ(synthetic_traffic(VectorMap{}).source, "sample data");
  EXPECT_TRUE(synthetic_traffic(VectorMap{{}, {one_point, minor, unknown}, {}}).segments.empty());

  const auto t = synthetic_traffic(VectorMap{{}, {one_point, grid}, {}});
  ASSERT_EQ(t.segments.size(), 2u);
  // n = 3; 73 * 48100 + 19 * 11500 = 3729800, then + 101 for the second segment.
  EXPECT_EQ(t.segments[0].level, traffic_level(RoadClass::Grid, 3));
  EXPECT_EQ(traffic_value(3, grid.points[1], 1), (3u + 73u * 48200u + 19u * 11600u + 101u) % 100u);
}

TEST(VectorMapHelpers, EmptinessAndCounts) {
  EXPECT_TRUE(vector_map_empty(VectorMap{}));
  EXPECT_FALSE(vector_map_empty(VectorMap{{}, {}, {{1, 2}}}));
  EXPECT_FALSE(vector_map_empty(VectorMap{{MapArea{}}, {}, {}}));
  const std::vector<TrafficSegment> segs = {{{}, TrafficLevel::Free},
                                            {{}, TrafficLevel::Standstill},
                                            {{}, TrafficLevel::Standstill},
                                            {{}, static_cast<TrafficLevel>(9)}};  // not a level: not counted
  EXPECT_EQ(traffic_level_counts(segs), (std::array<std::uint64_t, 4>{1, 0, 0, 2}));
}

}  // namespace
}  // namespace maps

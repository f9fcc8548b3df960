#include "map_layers/vector_map.hpp"

#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "map_layers/traffic.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

namespace scene = zarn_ui::scene;
using zarn_ui::Affine;
using zarn_ui::Scene;

const MapPalette kPalette = map_palette(zarn_ui::theme::Theme::dark());
const Camera kCamera = new_camera(48.1371, 11.5754, 14.0, 400, 300);

LatLon at(double dx, double dy) { return {48.1371 + dy * 0.001, 11.5754 + dx * 0.001}; }

template <class T>
std::vector<T> items_of(const Scene& s) {
  std::vector<T> out;
  for (const auto& it : s.items()) {
    if (const T* v = std::get_if<T>(&it)) out.push_back(*v);
  }
  return out;
}

std::size_t path_len(const zarn_ui::Shape& shape) { return std::get<zarn_ui::BezPath>(shape).elements().size(); }

TEST(VectorLineWidth, GrowsWithZoomFromTwelve) {
  struct Case {
    RoadClass road_class;
    double zoom;
    double width;
  };
  using enum RoadClass;
  for (const Case& c : std::vector<Case>{{Avenue, 12, 4.2},
                                         {Avenue, 3, 4.2},
                                         {Avenue, 16, 10.08},
                                         {Secondary, 16, 7.2},
                                         {Grid, 16, 3.84},
                                         {Minor, 16, 2.4},
                                         {Minor, 19, 3.45},
                                         {static_cast<RoadClass>(9), 12, 1.0}}) {
    EXPECT_NEAR(vector_line_width(c.road_class, c.zoom), c.width, 1e-12) << int(c.road_class) << " " << c.zoom;
  }
  EXPECT_NEAR(vector_line_width(Avenue, 16) * 3.2, 32.256, 1e-12);
}

TEST(ProjectPolyline, KeepsOrderThroughTheCamera) {
  const std::vector<LatLon> pts = {at(0, 0), at(1, 0), at(1, 1)};
  const auto screen = project_polyline(kCamera, pts);
  ASSERT_EQ(screen.size(), 3u);
  EXPECT_NEAR(screen[0].x, 400, 1e-6);
  EXPECT_NEAR(screen[0].y, 300, 1e-6);
  EXPECT_GT(screen[1].x, screen[0].x);
  EXPECT_LT(screen[2].y, screen[1].y);  // north is up
}

TEST(FillAreaPolygon, TwoPointRingIsOnlyOutlinedThereAndBack) {
  Scene s;
  fill_area_polygon(s, Affine::identity(), kCamera, {{at(0, 0), at(1, 0)}, AreaClass::Park}, kPalette.park,
                    kPalette.park_outline);
  ASSERT_EQ(s.size(), 1u);
  const auto& outline = std::get<scene::Stroke>(s.items()[0]);
  EXPECT_EQ(path_len(outline.shape), 3u);
  EXPECT_EQ(outline.width, 1.0);

  Scene closed;
  fill_area_polygon(closed, Affine::identity(), kCamera, {{at(0, 0), at(1, 0), at(1, 1)}, AreaClass::Park},
                    kPalette.park, kPalette.park_outline);
  ASSERT_EQ(closed.size(), 2u);
  EXPECT_EQ(std::get<scene::Fill>(closed.items()[0]).color, kPalette.park);
  const auto& ring = std::get<scene::Stroke>(closed.items()[1]);
  const auto& els = std::get<zarn_ui::BezPath>(ring.shape).elements();
  ASSERT_EQ(els.size(), 4u);
  EXPECT_EQ(els.front().p[0], els.back().p[0]);  // first point appended again
}

TEST(PaintVectorMap, LayersInOrderWithCasingsUnderEveryRoad) {
  VectorMap map;
  map.areas = {{{at(0, 0), at(1, 0), at(1, 1)}, AreaClass::Block},
               {{at(0, 0), at(1, 0), at(1, 1)}, AreaClass::Water},
               {{at(0, 0), at(1, 0), at(1, 1)}, AreaClass::Park},
               {{at(0, 0), at(1, 0), at(1, 1)}, static_cast<AreaClass>(7)}};  // unknown class: never drawn
  map.river = {at(-1, -1), at(-1, 1)};
  map.roads = {{{at(0, 0), at(2, 0)}, RoadClass::Avenue},
               {{at(0, 0), at(0, 2)}, RoadClass::Grid},
               {{at(0, 0), at(2, 2)}, RoadClass::Secondary},
               {{at(0, 0), at(3, 2)}, RoadClass::Minor},
               {{at(0, 0)}, RoadClass::Avenue}};  // one point: nothing
  Scene s;
  const zarn_ui::Rect bounds{0, 0, 800, 600};
  paint_vector_map(s, Affine::identity(), bounds, kCamera, map, kPalette);

  struct Expect {
    bool fill;
    Color color;
    double width;
  };
  const double k = 1.0 + 2 * 0.35;  // zoom 14
  const std::vector<Expect> expected = {
      {true, kPalette.land, 0},
      {true, kPalette.water, 0},
      {true, kPalette.park, 0},
      {false, kPalette.park_outline, 1},
      {false, kPalette.water, 4.2 * k * 3.2},
      {true, kPalette.block, 0},
      {false, kPalette.block_outline, 1},
      {false, kPalette.road_casing, 4.2 * k + 2},
      {false, kPalette.road_casing, 3.0 * k + 2},
      {false, kPalette.road_casing, 1.0 * k + 2},
      {false, kPalette.major_road, 4.2 * k},
      {false, kPalette.minor_road, 1.6 * k},
      {false, kPalette.secondary_road, 3.0 * k},
      {false, kPalette.minor_road, 1.0 * k},
  };
  ASSERT_EQ(s.size(), expected.size());
  EXPECT_EQ(std::get<scene::Fill>(s.items()[0]).shape, zarn_ui::Shape(bounds));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i].fill) {
      ASSERT_TRUE(std::holds_alternative<scene::Fill>(s.items()[i])) << i;
      EXPECT_EQ(std::get<scene::Fill>(s.items()[i]).color, expected[i].color) << i;
    } else {
      ASSERT_TRUE(std::holds_alternative<scene::Stroke>(s.items()[i])) << i;
      const auto& st = std::get<scene::Stroke>(s.items()[i]);
      EXPECT_EQ(st.color, expected[i].color) << i;
      EXPECT_NEAR(st.width, expected[i].width, 1e-12) << i;
    }
  }
}

TEST(PaintTraffic, CasingsFirstThenLevelColoursAndWidths) {
  const std::vector<TrafficSegment> segments = {{{at(0, 0), at(1, 0)}, TrafficLevel::Free},
                                                {{at(0, 0)}, TrafficLevel::Moderate},
                                                {{at(0, 0), at(0, 1)}, TrafficLevel::Heavy},
                                                {{at(1, 1), at(2, 1)}, TrafficLevel::Standstill}};
  Scene s;
  const Camera cam = new_camera(48.1371, 11.5754, 16.0, 400, 300);
  paint_traffic(s, Affine::identity(), cam, segments, kPalette);
  const auto strokes = items_of<scene::Stroke>(s);
  ASSERT_EQ(strokes.size(), 6u);  // the one-point segment is skipped in both passes
  const double k = 2.4;
  const std::vector<std::pair<Color, double>> expected = {
      {kPalette.traffic_casing, 2.2 * k + 2}, {kPalette.traffic_casing, 3.1 * k + 2},
      {kPalette.traffic_casing, 3.4 * k + 2}, {kPalette.traffic_free, 2.2 * k},
      {kPalette.traffic_heavy, 3.1 * k},      {kPalette.traffic_standstill, 3.4 * k}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(strokes[i].color, expected[i].first) << i;
    EXPECT_NEAR(strokes[i].width, expected[i].second, 1e-12) << i;
  }
  EXPECT_NEAR(traffic_line_width(TrafficLevel::Moderate, 12), 2.7, 1e-12);
}

TEST(PaintTraffic, ChainsSegmentsThatContinueInTheSameStyle) {
  constexpr TrafficLevel M = TrafficLevel::Moderate, H = TrafficLevel::Heavy;
  const LatLon a = at(0, 0), b = at(1, 0), c = at(2, 0), d = at(3, 0), e = at(5, 5);
  struct Case {
    std::vector<TrafficSegment> segments;
    std::vector<std::size_t> fill_path_lengths;  // path elements of each fill-pass stroke
  };
  const std::vector<Case> cases = {
      {{{{a, b}, M}, {{b, c}, M}, {{c, d}, M}}, {4}},     // one chain of three
      {{{{a, b}, M}, {{b, c}, H}, {{c, d}, H}}, {2, 3}},  // a level change breaks it
      {{{{a, b}, M}, {{e, c}, M}}, {2, 2}},               // not continuing: apart
      {{{{a, b}, M}, {{b}, M}, {{b, c}, M}}, {3}},        // a one-point segment draws nothing
  };
  const Camera cam = new_camera(48.1371, 11.5754, 16.0, 400, 300);
  for (std::size_t n = 0; n < cases.size(); ++n) {
    Scene s;
    paint_traffic(s, Affine::identity(), cam, cases[n].segments, kPalette);
    const auto strokes = items_of<scene::Stroke>(s);
    const std::size_t fills = cases[n].fill_path_lengths.size();
    ASSERT_EQ(strokes.size(), 2 * fills) << n;  // as many casings, all before the fills
    for (std::size_t i = 0; i < fills; ++i) {
      EXPECT_EQ(strokes[i].color, kPalette.traffic_casing) << n;
      EXPECT_EQ(path_len(strokes[fills + i].shape), cases[n].fill_path_lengths[i]) << n << " " << i;
    }
  }
}

TEST(PaintTraffic, TranslucentColoursAreNeverChained) {
  MapPalette p = kPalette;
  p.traffic_moderate = p.traffic_moderate.with_alpha(0.5f);
  const std::vector<TrafficSegment> segments = {{{at(0, 0), at(1, 0)}, TrafficLevel::Moderate},
                                                {{at(1, 0), at(2, 0)}, TrafficLevel::Moderate}};
  Scene s;
  paint_traffic(s, Affine::identity(), kCamera, segments, p);
  const auto strokes = items_of<scene::Stroke>(s);
  ASSERT_EQ(strokes.size(), 3u);  // one chained casing, two separate lines
  EXPECT_EQ(path_len(strokes[0].shape), 3u);
  EXPECT_EQ(path_len(strokes[1].shape), 2u);
}

}  // namespace
}  // namespace maps

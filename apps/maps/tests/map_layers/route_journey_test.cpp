// The road route and the chosen journey over the map, on the recording scene.

#include <gtest/gtest.h>

#include <vector>

#include "draw_kit/theme_colors.hpp"
#include "layer_scene_items.hpp"
#include "map_layers/journey.hpp"
#include "map_layers/route_line.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace layer_test;
using zarn_ui::theme::Theme;

const Theme kTheme = Theme::light();
const MapPalette kPalette = map_palette(kTheme);
const Camera kCamera = new_camera(48.1371, 11.5754, 15.0, 400, 300);
const Rect kBounds{0, 0, 800, 600};

// The position that the camera puts at screen point (x, y).
LatLon px(double x, double y) { return camera_unproject(kCamera, x, y); }

TEST(PaintRoute, CasingLineAndEndDiscs) {
  Route route;
  route.geometry = {px(100, 100), px(300, 100), px(300, 250)};
  Scene s;
  paint_route(s, Affine::identity(), kCamera, route, kPalette);
  const auto strokes = items_of<scene::Stroke>(s);
  ASSERT_EQ(strokes.size(), 4u);
  EXPECT_EQ(strokes[0].width, 9.0);
  EXPECT_EQ(strokes[0].color, kPalette.route_casing);
  EXPECT_EQ(strokes[1].width, 5.5);
  EXPECT_EQ(strokes[1].color, kPalette.route_line);
  // Start: a hollow disc; end: a solid one ringed in the halo colour.
  const auto fills = discs(s, 7.0);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0].color, kPalette.halo);
  EXPECT_NEAR(std::get<zarn_ui::Circle>(fills[0].shape).center.x, 100, 1e-6);
  EXPECT_EQ(fills[1].color, kPalette.route_line);
  EXPECT_NEAR(std::get<zarn_ui::Circle>(fills[1].shape).center.y, 250, 1e-6);
  EXPECT_EQ(strokes[2].width, 3.0);
  EXPECT_EQ(strokes[3].width, 2.5);
  EXPECT_EQ(strokes[3].color, kPalette.halo);

  Route lone;
  lone.geometry = {px(100, 100)};
  Scene none;
  paint_route(none, Affine::identity(), kCamera, lone, kPalette);
  EXPECT_TRUE(none.empty());
}

TransitLeg leg(TransitMode mode, std::vector<LatLon> geometry) {
  TransitLeg l;
  l.mode = mode;
  l.geometry = std::move(geometry);
  return l;
}

std::vector<zarn_ui::Line> dashes(const Scene& s) {
  std::vector<zarn_ui::Line> out;
  for (const auto& st : items_of<scene::Stroke>(s)) {
    if (const auto* l = shape_of<zarn_ui::Line>(st)) out.push_back(*l);
  }
  return out;
}

TEST(PaintJourney, WalkingDashesRestartAtEveryVertex) {
  struct Case {
    std::vector<Point> points;
    std::vector<std::pair<double, double>> spans;  // along x from the segment's start
  };
  for (const Case& c : std::vector<Case>{
           {{{100, 200}, {125, 200}}, {{0, 6}, {11, 17}, {22, 25}}},
           {{{100, 200}, {111, 200}}, {{0, 6}}},
           {{{100, 200}, {104, 200}}, {{0, 4}}},
           {{{100, 200}, {100.0000001, 200}}, {}},  // under a thousandth of a pixel: skipped
       }) {
    std::vector<LatLon> geometry;
    for (const Point& p : c.points) geometry.push_back(px(p.x, p.y));
    TransitJourney j;
    j.legs = {leg(TransitMode::Walk, geometry)};
    Scene s;
    paint_transit_journey(s, Affine::identity(), kCamera, j, kTheme, kPalette, kBounds);
    const auto got = dashes(s);
    ASSERT_EQ(got.size(), c.spans.size()) << c.points.back().x;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].p0.x - 100, c.spans[i].first, 1e-6);
      EXPECT_NEAR(got[i].p1.x - 100, c.spans[i].second, 1e-6);
    }
  }
  // Two segments of 14 px: each begins with a fresh dash at its vertex.
  TransitJourney bent;
  bent.legs = {leg(TransitMode::Walk, {px(100, 200), px(114, 200), px(114, 214)})};
  Scene s;
  paint_transit_journey(s, Affine::identity(), kCamera, bent, kTheme, kPalette, kBounds);
  const auto got = dashes(s);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_NEAR(got[2].p0.x, 114, 1e-6);
  EXPECT_NEAR(got[2].p0.y, 200, 1e-6);
  EXPECT_NEAR(got[2].p1.y, 206, 1e-6);
  const auto strokes = items_of<scene::Stroke>(s);
  EXPECT_EQ(strokes[0].width, 3.0);
  EXPECT_EQ(strokes[0].color, transit_mode_color(kTheme, TransitMode::Walk).multiply_alpha(0.9f));
}

TEST(PaintJourney, RidesGetCasedLinesAndStopsInsideTheBounds) {
  TransitLeg bus = leg(TransitMode::Bus, {px(-50, 300), px(200, 300)});  // starts off screen
  bus.color = "#112233";
  TransitJourney j;
  j.legs = {leg(TransitMode::Walk, {px(300, 300), px(350, 300)}), bus, leg(TransitMode::Tram, {px(500, 100)})};
  Scene s;
  paint_transit_journey(s, Affine::identity(), kCamera, j, kTheme, kPalette, kBounds);

  // Everything inside one clip layer of the bounds.
  ASSERT_TRUE(std::holds_alternative<scene::PushLayer>(s.items().front()));
  EXPECT_EQ(std::get<scene::PushLayer>(s.items().front()).clip, zarn_ui::Shape(kBounds));
  EXPECT_TRUE(std::holds_alternative<scene::PopLayer>(s.items().back()));

  const Color own = *parse_hex_color("112233");
  std::vector<scene::Stroke> rides;
  for (const auto& st : items_of<scene::Stroke>(s)) {
    if (shape_of<zarn_ui::BezPath>(st)) rides.push_back(st);
  }
  ASSERT_EQ(rides.size(), 2u);  // the one-point tram leg draws no line
  EXPECT_EQ(rides[0].width, 8.0);
  EXPECT_EQ(rides[0].color, mix_color(own, Color::black(), 0.45f));
  EXPECT_EQ(rides[1].width, 5.0);
  EXPECT_EQ(rides[1].color, own);

  // Stops: the bus only at its end (its start is off screen), the tram's one point twice, the
  // walk none.
  const auto stops = discs(s, 5.0);
  ASSERT_EQ(stops.size(), 3u);
  EXPECT_NEAR(std::get<zarn_ui::Circle>(stops[0].shape).center.x, 200, 1e-6);
  EXPECT_NEAR(std::get<zarn_ui::Circle>(stops[1].shape).center.x, 500, 1e-6);
  EXPECT_EQ(stops[1].shape, stops[2].shape);
  const auto stop_rings = rings(s, 5.0);
  ASSERT_EQ(stop_rings.size(), 3u);
  EXPECT_EQ(stop_rings[0].color, own);
  EXPECT_EQ(stop_rings[1].color, transit_mode_color(kTheme, TransitMode::Tram));
  EXPECT_EQ(stop_rings[0].width, 2.5);
  for (const auto& f : stops) EXPECT_EQ(f.color, kPalette.halo);
}

}  // namespace
}  // namespace maps

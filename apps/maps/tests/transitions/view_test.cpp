#include "transitions/view.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app_input_fixture.hpp"
#include "geo/geo.hpp"
#include "geo/screen_view.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace std::chrono_literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Point screen_of(const MapsApp& app, LatLon p) {
  return camera_project(view_camera(app.bounds_rect, app.model.center, app.model.zoom), p.lat, p.lon);
}
LatLon geo_at(const MapsApp& app, double x, double y) {
  return camera_unproject(view_camera(app.bounds_rect, app.model.center, app.model.zoom), x, y);
}

// Where a fitted view puts the middle of what it fits in the 1280 x 800 window: the middle of
// the map area right of the shown side panel (x 410 to 1264).
constexpr Point kFittedMiddle{410.0 + (1280.0 - 426.0) / 2.0, 400.0};

void expect_on_screen_at(const MapsApp& app, LatLon p, Point want, const char* name) {
  const Point got = screen_of(app, p);
  EXPECT_NEAR(got.x, want.x, 1e-6) << name;
  EXPECT_NEAR(got.y, want.y, 1e-6) << name;
}

TEST(ViewChanges, ZoomIsClampedAndKeepsTheAnchorInPlace) {
  struct Case {
    double zoom, delta, expected;
    double ax, ay;
  } cases[] = {
      {18.6, 1.0, 19.0, 900, 200}, {3.2, -1.0, 3.0, 100, 700},  {14.4, 0.35, 14.75, 640, 400},
      {10.0, -0.7, 9.3, 1279, 0},  {19.0, 5.0, 19.0, 300, 300},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.model().zoom = c.zoom;
    const LatLon under = geo_at(*f.app, c.ax, c.ay);
    zoom_map_at(f.app->session(), c.delta, c.ax, c.ay);
    EXPECT_DOUBLE_EQ(f.model().zoom, c.expected) << c.zoom << " " << c.delta;
    const Point s = screen_of(*f.app, under);
    EXPECT_NEAR(s.x, c.ax, 1e-6) << c.zoom;
    EXPECT_NEAR(s.y, c.ay, 1e-6) << c.zoom;
    EXPECT_EQ(f.app->backend.view_pois.idle_deadline, f.now() + 450ms);
  }
}

TEST(ViewChanges, PanMovesTheMapWithTheDragAndArmsTheDeadline) {
  AppFixture f;
  const LatLon under = geo_at(*f.app, 640, 400);
  pan_map(f.app->session(), 30, -12);
  const Point s = screen_of(*f.app, under);
  EXPECT_NEAR(s.x, 670, 1e-6);
  EXPECT_NEAR(s.y, 388, 1e-6);

  // A run of gestures keeps postponing the deadline; a pan by nothing still arms it.
  const LatLon before = f.model().center;
  f.advance(100ms);
  pan_map(f.app->session(), 0, 0);
  EXPECT_NEAR(f.model().center.lat, before.lat, 1e-12);
  EXPECT_NEAR(f.model().center.lon, before.lon, 1e-12);
  EXPECT_EQ(f.app->backend.view_pois.idle_deadline, f.now() + 450ms);
}

TEST(ViewChanges, NonFiniteGesturesLeaveTheView) {
  AppFixture f;
  const MapModel before = f.model();
  pan_map(f.app->session(), kNaN, 1);
  zoom_map_at(f.app->session(), kNaN, 10, 10);
  zoom_map_at(f.app->session(), 1, std::numeric_limits<double>::infinity(), 10);
  EXPECT_EQ(f.model(), before);
  EXPECT_FALSE(f.app->backend.view_pois.idle_deadline);
}

TEST(ViewportForPoints, Cases) {
  const LatLon a{48.1371, 11.5754};
  const LatLon b{48.1371, 11.5754 + 100.0 / (111320.0 * std::cos(48.1371 * kDegToRad))};  // ~100 m east
  struct Case {
    const char* name;
    std::vector<LatLon> points;
    std::optional<double> zoom;
    std::optional<LatLon> center;
  } cases[] = {
      {"none", {}, std::nullopt, std::nullopt},
      {"only non-finite", {{kNaN, 11.0}, {48.0, std::numeric_limits<double>::infinity()}}, std::nullopt, std::nullopt},
      {"single point fits at every step", {a}, 18.75, a},
      {"non-finite point ignored", {a, {kNaN, 0.0}}, 18.75, a},
      {"too large even at 3", {{-80, -179}, {80, 179}}, 3.0, LatLon{0, 0}},
  };
  for (const auto& c : cases) {
    const auto v = viewport_for_points(c.points, 854, 800, 70);
    ASSERT_EQ(v.has_value(), c.zoom.has_value()) << c.name;
    if (!v) continue;
    EXPECT_DOUBLE_EQ(v->zoom, *c.zoom) << c.name;
    EXPECT_DOUBLE_EQ(v->center.lat, c.center->lat) << c.name;
    EXPECT_DOUBLE_EQ(v->center.lon, c.center->lon) << c.name;
  }
  // Two points 100 m apart would fit far closer than the fitted view may go.
  const auto near = viewport_for_points({a, b}, 854, 800, 70);
  ASSERT_TRUE(near);
  EXPECT_GT(near->zoom, 16.5);
  AppFixture f;
  fit_view_to_points(f.app->session(), {a, b});
  EXPECT_DOUBLE_EQ(f.model().zoom, 16.5);
  expect_on_screen_at(*f.app, LatLon{a.lat, (a.lon + b.lon) / 2}, kFittedMiddle, "100 m");
}

TEST(ViewportForPoints, RoomNeverBelow64) {
  // A box 63 px wide at zoom 10 fits a zero-sized room at 10 but not at 10.25.
  const double lon_span = 63.0 / (256.0 * 1024.0) * 360.0;
  const auto v = viewport_for_points({{0, 0}, {0, lon_span}}, 0, 0, 70);
  ASSERT_TRUE(v);
  EXPECT_DOUBLE_EQ(v->zoom, 10.0);
}

TEST(FitView, UsableWidthLeavesOutTheSidePanel) {
  // 0.6 degrees of longitude: 734.8 px at zoom 10.75, more than the 714 px left of 854 after the inset.
  const std::vector<LatLon> pts{{48.0, 11.0}, {48.01, 11.6}};
  struct Case {
    Rect bounds;
    double usable;
  } cases[] = {
      {{0, 0, 1280, 800}, 1280 - 426},  // wide: panel 384 + 32 + 10
      {{0, 0, 600, 800}, 600 - 32},     // narrow
      {{0, 0, 150, 800}, 200},          // raised to the minimum
      {{0, 0, 0, 0}, 200},              // before the first layout
  };
  for (const auto& c : cases) {
    AppFixture f(default_map_model(), c.bounds);
    fit_view_to_points(f.app->session(), pts);
    const auto expect = viewport_for_points(pts, c.usable, c.bounds.height(), 70);
    ASSERT_TRUE(expect);
    EXPECT_DOUBLE_EQ(f.model().zoom, std::min(expect->zoom, 16.5)) << c.bounds.x1;
    EXPECT_FALSE(f.app->backend.view_pois.idle_deadline) << "fitting arms no deadline";
  }
  AppFixture wide;
  fit_view_to_points(wide.app->session(), pts);
  EXPECT_DOUBLE_EQ(wide.model().zoom, 10.5);
  EXPECT_DOUBLE_EQ(viewport_for_points(pts, 1280, 800, 70)->zoom, 11.25);
}

// The top of the docked navigation panel in the app's window.
double navigation_top(const MapsApp& app) { return app.navigation.panel_rect(app.bounds_rect).y0; }

// A route fitted beside the shown side panel lies in the map area right of it, start and end
// markers inside the fitting inset; with the panel folded, or in the narrow layout where the
// panel covers the whole map, the route is centred on the window across. Upwards it is centred
// above the docked navigation panel that comes with it, and clear of it, unless the narrow
// layout's open side panel hides that panel.
TEST(FitView, TheRouteLiesInTheMapAreaBesideTheSidePanelAndAboveTheNavigation) {
  Route route;
  route.geometry = {{48.1412, 11.5580}, {48.1412, 11.5754}, {48.1374, 11.5754}};  // west to east, then south
  struct Case {
    const char* name;
    Rect bounds;
    bool collapsed;
    double area_x0;  // the left edge of the map area the route is fitted into
    double middle_x;
  } cases[] = {
      {"wide, panel shown", {0, 0, 1280, 800}, false, 410.0, kFittedMiddle.x},
      {"wide, panel folded", {0, 0, 1280, 800}, true, 0.0, 640.0},
      {"wider window", {0, 0, 1600, 1000}, false, 410.0, 410.0 + (1600.0 - 426.0) / 2.0},
      {"narrow", {0, 0, 600, 800}, false, 0.0, 300.0},
  };
  for (const Case& c : cases) {
    for (const bool panel_open : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.name << (panel_open ? ", side panel open" : ""));
      AppFixture f(default_map_model(), c.bounds);
      f.app->panel.collapsed = c.collapsed;
      f.app->panel.expanded = panel_open;
      f.model().route = route;
      fit_view_to_route(f.app->session());
      const bool covered = !(is_narrow_layout(c.bounds) && panel_open);
      const double bottom = covered ? navigation_top(*f.app) : c.bounds.y1;
      ASSERT_GT(bottom, c.bounds.height() / 2.0);
      const LatLon middle{(48.1412 + 48.1374) / 2.0, (11.5580 + 11.5754) / 2.0};
      expect_on_screen_at(*f.app, middle, Point{c.middle_x, bottom / 2.0}, c.name);
      for (const LatLon& p : route.geometry) {
        const Point s = screen_of(*f.app, p);
        EXPECT_GE(s.x, c.area_x0 + 70.0 - 1e-6);
        EXPECT_LE(s.x, c.bounds.x1 - 70.0 + 1e-6);
        EXPECT_GE(s.y, 70.0 - 1e-6);
        EXPECT_LE(s.y, bottom - 70.0 + 1e-6);
      }
    }
  }
  // Journeys come with no navigation panel: they are centred on the window's height.
  AppFixture f;
  f.model().transit = {TransitJourney{}};
  f.model().transit[0].legs.resize(1);
  f.model().transit[0].legs[0].geometry = route.geometry;
  fit_view_to_plan(f.app->session());
  expect_on_screen_at(*f.app, LatLon{(48.1412 + 48.1374) / 2.0, (11.5580 + 11.5754) / 2.0}, kFittedMiddle, "journey");
}

TEST(FitView, PlanFallsThroughRouteJourneyAndEndpoints) {
  const LatLon o{48.10, 11.50}, d{48.20, 11.70};
  const LatLon j1{48.00, 11.00}, j2{48.30, 11.90};
  Route one_point;
  one_point.geometry = {o};
  Route two_points;
  two_points.geometry = {{48.13, 11.57}, {48.14, 11.58}};
  TransitJourney journey;
  journey.legs.resize(2);
  journey.legs[0].geometry = {j1};
  journey.legs[1].geometry = {j2};

  struct Case {
    const char* name;
    std::optional<Route> route;
    std::vector<TransitJourney> transit;
    std::uint64_t choice;
    std::optional<LatLon> origin, dest;
    std::optional<LatLon> center;  // none: the view stays
  } cases[] = {
      {"route", two_points, {journey}, 0, o, d, LatLon{48.135, 11.575}},
      {"one-point route falls to the journey", one_point, {journey}, 0, o, d, LatLon{48.15, 11.45}},
      {"choice past the end falls to the endpoints", one_point, {journey}, 3, o, d, LatLon{48.15, 11.60}},
      {"one endpoint only", std::nullopt, {}, 0, std::nullopt, d, std::nullopt},
  };
  for (const auto& c : cases) {
    AppFixture f;
    f.model().route = c.route;
    f.model().transit = c.transit;
    f.model().transit_choice = c.choice;
    f.model().origin = c.origin;
    f.model().dest = c.dest;
    const LatLon before = f.model().center;
    fit_view_to_plan(f.app->session());
    if (c.center) {
      // A road route, even of one point, shows the docked navigation panel: the fit is above it.
      const double middle_y = c.route ? navigation_top(*f.app) / 2.0 : kFittedMiddle.y;
      expect_on_screen_at(*f.app, *c.center, Point{kFittedMiddle.x, middle_y}, c.name);
    } else {
      EXPECT_EQ(f.model().center, before) << c.name;
    }
    EXPECT_FALSE(f.app->backend.view_pois.idle_deadline) << c.name;
  }
  AppFixture none;
  const MapModel before = none.model();
  fit_view_to_route(none.app->session());
  EXPECT_EQ(none.model(), before);
}

}  // namespace
}  // namespace maps

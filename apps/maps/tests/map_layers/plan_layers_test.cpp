// The plan and the places on the map in the demonstration states: the sample state's route with
// its pins and origin, the points-of-interest state's markers, the transit state's journey. Read
// on the recorded map layers, with a few pixel probes of them replayed onto Cairo.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/map_layers_view.hpp"
#include "app/maps_app.hpp"
#include "app/startup.hpp"
#include "draw_kit/theme_colors.hpp"
#include "layer_scene_items.hpp"
#include "map_layers/markers.hpp"
#include "map_layers/pin.hpp"
#include "map_layers/vector_map.hpp"
#include "model/place_ops.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace layer_test;
using zarn_ui::theme::Theme;

constexpr std::uint32_t kW = 1280, kH = 800;

struct Layers {
  Scene scene;
  std::vector<std::string> texts;
};

std::unique_ptr<MapsApp> sample_app() {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, kW, kH};
  return app;
}

Layers paint(MapsApp& app, const Theme& theme) {
  const auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  Layers l;
  paint_map_layers(app.map_layers, map_layer_inputs(app), l.scene, Affine::identity(), text, theme);
  for (const auto& run : items_of<scene::TextRun>(l.scene)) l.texts.push_back(run.text);
  return l;
}

Camera camera_of(const MapsApp& app) { return view_camera(app.bounds_rect, app.model.center, app.model.zoom); }

std::vector<std::uint8_t> render(const Scene& scene) {
  auto renderer = zarn_ui::offscreen::OffscreenRenderer::create(kW, kH);
  EXPECT_TRUE(renderer.is_ok());
  return renderer ? renderer->render_resilient(scene) : std::vector<std::uint8_t>{};
}

void expect_pixel(const std::vector<std::uint8_t>& rgba, Point p, const Color& c, const char* what) {
  ASSERT_EQ(rgba.size(), std::size_t{kW} * kH * 4);
  ASSERT_TRUE(p.x >= 0 && p.y >= 0 && p.x < kW && p.y < kH) << what;
  const std::size_t i = (static_cast<std::size_t>(p.y) * kW + static_cast<std::size_t>(p.x)) * 4;
  const Rgba8 want = color_to_rgba8(c);
  EXPECT_NEAR(rgba[i], want.r, 1) << what << " at " << p.x << "," << p.y;
  EXPECT_NEAR(rgba[i + 1], want.g, 1) << what;
  EXPECT_NEAR(rgba[i + 2], want.b, 1) << what;
}

// The middle of the longest segment of a projected line.
Point longest_segment_middle(const std::vector<Point>& pts) {
  std::size_t best = 0;
  double len = -1;
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
    const double d = std::hypot(pts[i + 1].x - pts[i].x, pts[i + 1].y - pts[i].y);
    if (d > len) {
      len = d;
      best = i;
    }
  }
  return (pts[best] + pts[best + 1]) * 0.5;
}

double nearest_place_px(const MapsApp& app, Point p) {
  double best = 1e9;
  for (const Place& place : app.model.places) {
    const Point at = camera_project(camera_of(app), place.pos.lat, place.pos.lon);
    best = std::min(best, std::hypot(at.x - p.x, at.y - p.y));
  }
  return best;
}

class PlanLayers : public ::testing::TestWithParam<bool> {
 protected:
  Theme theme = GetParam() ? Theme::dark() : Theme::light();
  MapPalette palette = map_palette(theme);
};

TEST_P(PlanLayers, SampleStateShowsTheRouteItsPinsAndTheOrigin) {
  auto app = sample_app();
  ASSERT_TRUE(app->model.route.has_value());
  ASSERT_TRUE(app->model.origin.has_value());
  const auto selected = selected_place(app->model);
  ASSERT_TRUE(selected.has_value());
  const Layers l = paint(*app, theme);

  const auto strokes = items_of<scene::Stroke>(l.scene);
  const auto casing = std::find_if(strokes.begin(), strokes.end(), [&](const scene::Stroke& s) {
    return s.width == 9.0 && s.color == palette.route_casing;
  });
  ASSERT_NE(casing, strokes.end());
  EXPECT_EQ(std::next(casing)->width, 5.5);
  EXPECT_EQ(std::next(casing)->color, palette.route_line);

  // A pin for every place on screen, the selected one large and last, with its name.
  const Camera camera = camera_of(*app);
  std::size_t on_screen = 0;
  for (const Place& p : app->model.places)
    on_screen += app->bounds_rect.contains(camera_project(camera, p.pos.lat, p.pos.lon));
  std::vector<scene::Fill> shadows;
  for (const auto& f : items_of<scene::Fill>(l.scene)) {
    if (shape_of<zarn_ui::Ellipse>(f)) shadows.push_back(f);
  }
  ASSERT_EQ(shadows.size(), on_screen);
  EXPECT_GE(on_screen, 3u);
  EXPECT_NEAR(std::get<zarn_ui::Ellipse>(shadows.back().shape).bounds.width(), 2 * 0.62 * 11, 1e-9);
  EXPECT_EQ(l.texts, std::vector<std::string>{selected->name});
  EXPECT_EQ(discs(l.scene, 6.0).size(), 1u);  // the origin dot

  const auto rgba = render(l.scene);
  const Point mid = longest_segment_middle(project_polyline(camera, app->model.route->geometry));
  ASSERT_GT(nearest_place_px(*app, mid), 40);
  expect_pixel(rgba, mid, palette.route_line, "route line");
  const Point o = camera_project(camera, app->model.origin->lat, app->model.origin->lon);
  expect_pixel(rgba, o, theme.accent, "origin dot centre");
  expect_pixel(rgba, o + Point{0, -4.1}, theme.background, "origin dot face");
  const Point tip = camera_project(camera, selected->pos.lat, selected->pos.lon);
  expect_pixel(rgba, tip + Point{0, -kSelectedPinSize.height + 7.5}, category_color(theme, selected->category),
               "selected pin's head");
}

TEST_P(PlanLayers, PoisStateShowsMarkersWithPictogramsAndLabels) {
  auto app = sample_app();
  apply_launch_pois(*app);
  ASSERT_GE(app->model.zoom, kMarkerLabelZoom);
  const Layers l = paint(*app, theme);
  const Camera camera = camera_of(*app);

  std::set<std::string> expected;
  for (std::size_t i : poi_marker_layout(camera, app->backend.view_pois.pois, app->selected_poi)) {
    const Poi& poi = app->backend.view_pois.pois[i];
    if (app->bounds_rect.contains(camera_project(camera, poi.pos.lat, poi.pos.lon))) expected.insert(poi.name);
  }
  ASSERT_GE(expected.size(), 5u);
  std::set<std::string> labels;
  for (const std::string& t : l.texts) {
    if (std::any_of(app->backend.view_pois.pois.begin(), app->backend.view_pois.pois.end(),
                    [&](const Poi& p) { return p.name == t; }))
      labels.insert(t);
  }
  EXPECT_EQ(labels, expected);
  EXPECT_EQ(discs(l.scene, 9.0).size() + discs(l.scene, 13.0).size(), expected.size());
  EXPECT_EQ(discs(l.scene, 13.0).size(), 1u);

  const auto sel = std::find_if(app->backend.view_pois.pois.begin(), app->backend.view_pois.pois.end(),
                                [&](const Poi& p) { return p.id == app->selected_poi; });
  ASSERT_NE(sel, app->backend.view_pois.pois.end());
  const Point p = camera_project(camera, sel->pos.lat, sel->pos.lon);
  const auto rgba = render(l.scene);
  const Color c = category_color(theme, sel->category);
  expect_pixel(rgba, p + Point{6.7, 6.7}, c, "selected marker's disc");
  expect_pixel(rgba, p + Point{0, -2}, palette.halo, "its pictogram");
}

TEST_P(PlanLayers, PoisZoomedOutAreDecluttered) {
  auto app = sample_app();
  apply_launch_pois(*app);
  app->model.zoom = 11.0;
  const Camera camera = camera_of(*app);
  const auto kept = poi_marker_layout(camera, app->backend.view_pois.pois, app->selected_poi);
  EXPECT_LT(kept.size(), app->backend.view_pois.pois.size());
  for (std::size_t a : kept) {
    for (std::size_t b : kept) {
      if (a >= b) continue;
      const Point pa =
          camera_project(camera, app->backend.view_pois.pois[a].pos.lat, app->backend.view_pois.pois[a].pos.lon);
      const Point pb =
          camera_project(camera, app->backend.view_pois.pois[b].pos.lat, app->backend.view_pois.pois[b].pos.lon);
      EXPECT_GE(std::hypot(pa.x - pb.x, pa.y - pb.y), 15.0)
          << app->backend.view_pois.pois[a].name << " / " << app->backend.view_pois.pois[b].name;
    }
  }
  const Layers l = paint(*app, theme);
  EXPECT_EQ(discs(l.scene, 8.5).size(), 1u);  // the selected one, small below zoom 16
  EXPECT_EQ(l.texts.size(), 1u);              // only it has a label
}

TEST_P(PlanLayers, TransitPanelShowsTheJourneyLegs) {
  auto app = sample_app();
  apply_launch_travel_mode(*app, TravelMode::Transit);
  ASSERT_LT(app->model.transit_choice, app->model.transit.size());
  const TransitJourney& journey = app->model.transit[app->model.transit_choice];
  const Layers l = paint(*app, theme);
  const Camera camera = camera_of(*app);

  const auto strokes = items_of<scene::Stroke>(l.scene);
  EXPECT_TRUE(std::none_of(strokes.begin(), strokes.end(),
                           [&](const scene::Stroke& s) { return s.color == palette.route_casing && s.width == 9.0; }));
  std::size_t rides = 0, walks = 0;
  for (const TransitLeg& leg : journey.legs)
    (leg.mode == TransitMode::Walk ? walks : rides) += leg.geometry.size() >= 2;
  ASSERT_GE(rides, 1u);
  ASSERT_GE(walks, 1u);
  std::size_t dashes = 0, ride_lines = 0;
  for (const auto& s : strokes) {
    dashes += shape_of<zarn_ui::Line>(s) && s.width == 3.0;
    ride_lines += shape_of<zarn_ui::BezPath>(s) && s.width == 5.0;
  }
  EXPECT_GE(dashes, walks);
  EXPECT_EQ(ride_lines, rides);

  const auto rgba = render(l.scene);
  for (const TransitLeg& leg : journey.legs) {
    if (leg.mode == TransitMode::Walk || leg.geometry.size() < 2) continue;
    const Point mid = longest_segment_middle(project_polyline(camera, leg.geometry));
    if (!app->bounds_rect.contains(mid) || nearest_place_px(*app, mid) < 40) continue;
    expect_pixel(rgba, mid, transit_leg_color(theme, leg), "ride line");
  }
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, PlanLayers, ::testing::Bool());

}  // namespace
}  // namespace maps

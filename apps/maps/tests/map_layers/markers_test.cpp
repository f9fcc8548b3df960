// Point-of-interest markers: which ones the declutter step keeps, and how they are drawn.

#include "map_layers/markers.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "draw_kit/theme_colors.hpp"
#include "layer_scene_items.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace layer_test;
using zarn_ui::theme::Theme;

const Theme kTheme = Theme::dark();
const MapPalette kPalette = map_palette(kTheme);

Camera camera_at(double zoom) { return new_camera(48.1371, 11.5754, zoom, 400, 300); }

struct Spot {
  Category category;
  double x, y;
};

std::vector<Poi> pois_at(const Camera& camera, const std::vector<Spot>& spots) {
  std::vector<Poi> out;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    Poi p;
    p.id = "poi-" + std::to_string(i);
    p.name = "Place " + std::to_string(i);
    p.category = spots[i].category;
    p.pos = camera_unproject(camera, spots[i].x, spots[i].y);
    out.push_back(p);
  }
  return out;
}

TEST(CategoryMarkerPriority, FollowsTheCategoryTable) {
  using enum Category;
  const std::vector<std::pair<Category, int>> table = {{Landmark, 6}, {Cafe, 2},     {Restaurant, 3}, {Bar, 2},
                                                       {Museum, 5},   {Park, 4},     {Transit, 6},    {Hotel, 3},
                                                       {Shop, 1},     {Hospital, 5}, {Other, 0}};
  for (const auto& [category, priority] : table) EXPECT_EQ(category_marker_priority(category), priority);
}

TEST(DeclutterPoints, KeepsByPriorityAndSpacing) {
  using enum Category;
  struct Case {
    const char* what;
    std::vector<Spot> spots;
    std::optional<std::string> selected;
    double spacing;
    std::vector<std::size_t> kept;
  };
  const std::vector<Case> cases = {
      {"two cafes 20 px apart, spacing 15: both", {{Cafe, 100, 100}, {Cafe, 120, 100}}, {}, 15, {0, 1}},
      {"two cafes 20 px apart, spacing 26: the earlier one", {{Cafe, 100, 100}, {Cafe, 120, 100}}, {}, 26, {0}},
      {"a landmark wins over an earlier cafe", {{Cafe, 100, 100}, {Landmark, 120, 100}}, {}, 26, {1}},
      {"a landmark wins over a later cafe", {{Landmark, 100, 100}, {Cafe, 120, 100}}, {}, 26, {0}},
      {"the selected one is kept over a landmark", {{Landmark, 100, 100}, {Shop, 105, 100}}, "poi-1", 15, {1}},
      {"a selection naming nobody changes nothing", {{Landmark, 100, 100}, {Shop, 105, 100}}, "x", 15, {0}},
      {"a dropped point does not push others out",
       {{Park, 100, 100}, {Cafe, 112, 100}, {Cafe, 124, 100}},
       {},
       15,
       {0, 2}},
      {"the result is ascending, not in priority order",
       {{Other, 100, 100}, {Shop, 200, 100}, {Landmark, 300, 100}, {Museum, 400, 100}},
       {},
       15,
       {0, 1, 2, 3}},
      {"a negative spacing counts as its size", {{Cafe, 100, 100}, {Cafe, 104, 100}}, {}, -5, {0}},
      {"spacing 0 keeps even points on one spot", {{Cafe, 100, 100}, {Cafe, 100, 100}}, {}, 0, {0, 1}},
      {"no points", {}, {}, 15, {}},
  };
  const Camera camera = camera_at(15.9);
  for (const Case& c : cases) {
    EXPECT_EQ(declutter_points(camera, pois_at(camera, c.spots), c.selected, c.spacing), c.kept) << c.what;
  }
}

TEST(DeclutterPoints, APointExactlyTheSpacingAwaySurvives) {
  // On the equator at zoom 0 a longitude of k x 360/256 degrees lies exactly k px east.
  const Camera camera = new_camera(0, 0, 0, 128, 128);
  std::vector<Poi> pois(2);
  pois[1].pos = {0, 15 * 360.0 / 256.0};
  ASSERT_EQ(camera_project(camera, 0, pois[1].pos.lon).x - camera_project(camera, 0, 0).x, 15.0);
  EXPECT_EQ(declutter_points(camera, pois, std::nullopt, 15.0), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(declutter_points(camera, pois, std::nullopt, 15.000001), (std::vector<std::size_t>{0}));
}

// Below zoom 16 markers may come as close as 15 px, from 16 on they keep 26 px apart.
TEST(PoiMarkerLayout, SpacingWidensFromZoomSixteen) {
  for (const auto& [zoom, kept] :
       std::vector<std::pair<double, std::vector<std::size_t>>>{{15.9, {0, 1}}, {16.0, {0}}, {17.0, {0}}}) {
    auto app = new_empty_app();
    app->bounds_rect = {0, 0, 800, 600};
    app->model.zoom = zoom;
    const Camera camera = view_camera(app->bounds_rect, app->model.center, zoom);
    const Point c = map_viewport_center(app->bounds_rect);
    app->backend.view_pois.pois = pois_at(camera, {{Category::Cafe, c.x, c.y}, {Category::Cafe, c.x + 20, c.y}});
    EXPECT_EQ(poi_marker_layout(camera, app->backend.view_pois.pois, app->selected_poi), kept) << zoom;
  }
}

// A press reaches a pin's head within 14 px (18 for the selected pin, which stands higher) and a
// marker's disc with 6 px to spare, the disc growing from zoom 16 and when selected.
TEST(MarkerHits, ReachFollowsTheDrawnSizes) {
  struct Case {
    const char* name;
    double zoom;
    bool selected;
    double reach;   // from the pin's head centre or the marker's centre, along x
    double height;  // of the pin's head above its place
  } cases[] = {
      {"pin", 15.0, false, 14.0, 22.0},
      {"selected pin", 15.0, true, 18.0, 30.0},
      {"marker", 15.0, false, 4.5 + 6.0, 0.0},
      {"marker from zoom 16", 16.0, false, 9.0 + 6.0, 0.0},
      {"selected marker", 15.0, true, 8.5 + 6.0, 0.0},
      {"selected marker from 16", 16.0, true, 13.0 + 6.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Camera camera = camera_at(c.zoom);
    const std::optional<std::string> selected = c.selected ? std::optional<std::string>("poi-0") : std::nullopt;
    const Point head{400, 300 - c.height};
    const std::vector<Poi> pois = pois_at(camera, {{Category::Cafe, 400, 300}});
    if (c.height > 0.0) {
      const Place place{"poi-0", "Pin", Category::Park, "", pois[0].pos, false};
      const std::vector<Place> places{place};
      EXPECT_EQ(place_marker_at(camera, places, selected, {head.x + c.reach, head.y}), &places[0]);
      EXPECT_EQ(place_marker_at(camera, places, selected, {head.x, head.y - c.reach + 1e-6}), &places[0]);
      EXPECT_EQ(place_marker_at(camera, places, selected, {head.x + c.reach + 0.01, head.y}), nullptr);
      EXPECT_EQ(place_marker_at(camera, places, selected, {400, 300}), nullptr) << "the tip is below the head";
    } else {
      EXPECT_EQ(poi_marker_at(camera, pois, selected, {head.x - c.reach, head.y}), &pois[0]);
      EXPECT_EQ(poi_marker_at(camera, pois, selected, {head.x - c.reach - 0.01, head.y}), nullptr);
    }
  }
}

// The nearest marker in reach wins; one the declutter step left out takes no press even where it
// is drawn nearer.
TEST(MarkerHits, NearestKeptMarkerWins) {
  const Camera camera = camera_at(15.0);
  const std::vector<Poi> pois =
      pois_at(camera, {{Category::Cafe, 400, 300}, {Category::Cafe, 408, 300}, {Category::Landmark, 420, 300}});
  ASSERT_EQ(poi_marker_layout(camera, pois, std::nullopt), (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(poi_marker_at(camera, pois, std::nullopt, {407, 300}), &pois[0]);
  EXPECT_EQ(poi_marker_at(camera, pois, std::nullopt, {411, 300}), &pois[2]);
}

struct Drawn {
  Scene scene;
  std::vector<std::string> labels;
};

Drawn draw(const std::vector<Poi>& pois, const std::optional<std::string>& selected, double zoom,
           const Rect& area = {0, 0, 800, 600}) {
  const Camera camera = camera_at(zoom);
  std::vector<std::size_t> all(pois.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  Drawn d;
  const auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  paint_markers(d.scene, Affine::identity(), text, camera, pois, all, selected, kTheme, kPalette, area);
  for (const auto& run : items_of<scene::TextRun>(d.scene)) d.labels.push_back(run.text);
  return d;
}

TEST(PaintMarkers, SizesPictogramsAndLabelsByZoom) {
  struct Case {
    double zoom;
    double radius;
    bool pictogram;
    bool label;
  };
  for (const Case& c : std::vector<Case>{{15.9, 4.5, false, false}, {16.0, 9, true, false}, {16.5, 9, true, true}}) {
    const Camera camera = camera_at(c.zoom);
    const auto pois = pois_at(camera, {{Category::Transit, 300, 300}});
    const Drawn d = draw(pois, std::nullopt, c.zoom);
    const auto body = discs(d.scene, c.radius);
    ASSERT_EQ(body.size(), 1u) << c.zoom;
    EXPECT_EQ(body[0].color, category_color(kTheme, Category::Transit));
    EXPECT_EQ(rings(d.scene, c.radius).at(0).width, 1.6);
    EXPECT_EQ(rings(d.scene, c.radius).at(0).color, kPalette.halo);
    const auto shadow = discs(d.scene, c.radius + 1.3);
    ASSERT_EQ(shadow.size(), 1u);
    EXPECT_NEAR(std::get<zarn_ui::Circle>(shadow[0].shape).center.y, 300.9, 1e-6);
    // The bus pictogram's windows are cut out in the disc's colour.
    std::size_t windows = 0;
    for (const auto& f : items_of<scene::Fill>(d.scene)) {
      if (shape_of<zarn_ui::RoundedRect>(f) && f.color == body[0].color) ++windows;
    }
    EXPECT_EQ(windows, c.pictogram ? 2u : 0u) << c.zoom;
    EXPECT_EQ(d.labels.size(), c.label ? 1u : 0u) << c.zoom;
  }
}

TEST(PaintMarkers, SelectedIsDrawnLastWithLabelAtAnyZoom) {
  const Camera camera = camera_at(15.0);
  const auto pois = pois_at(camera, {{Category::Cafe, 300, 300}, {Category::Museum, 200, 200}});
  const Drawn d = draw(pois, "poi-0", 15.0);
  ASSERT_EQ(d.labels, std::vector<std::string>{"Place 0"});
  const auto runs = items_of<scene::TextRun>(d.scene);
  EXPECT_EQ(runs[0].size, 12.0f);
  EXPECT_EQ(runs[0].weight, FontWeight::Medium);
  // Plain museum first, then the selected cafe (radius 8.5, ring 2.5, outer ring at 12.5).
  const auto small = discs(d.scene, 4.5);
  const auto large = discs(d.scene, 8.5);
  ASSERT_EQ(small.size(), 1u);
  ASSERT_EQ(large.size(), 1u);
  const auto& items = d.scene.items();
  const auto pos = [&](const scene::Fill& f) {
    return std::find(items.begin(), items.end(), zarn_ui::scene::Item(f)) - items.begin();
  };
  EXPECT_LT(pos(small[0]), pos(large[0]));
  EXPECT_EQ(rings(d.scene, 8.5).at(0).width, 2.5);
  const auto outer = rings(d.scene, 12.5);
  ASSERT_EQ(outer.size(), 1u);
  EXPECT_EQ(outer[0].color, category_color(kTheme, Category::Cafe).multiply_alpha(0.5f));
  // The label's text starts r + 6 right of the centre, 0.72 x size above it.
  EXPECT_NEAR(runs[0].transform.e, 300 + 8.5 + 6, 1e-6);
  EXPECT_NEAR(runs[0].transform.f, 300 - 0.72 * 12.0, 1e-6);

  // Drawn even when the layout left it out.
  const Camera c17 = camera_at(17.0);
  const auto crowd = pois_at(c17, {{Category::Shop, 300, 300}});
  Drawn kept_out;
  const auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  paint_markers(kept_out.scene, Affine::identity(), text, c17, crowd, {}, "poi-0", kTheme, kPalette, {0, 0, 800, 600});
  EXPECT_EQ(discs(kept_out.scene, 13.0).size(), 1u);
}

TEST(PaintMarkers, LabelsAndMarkersStayInTheMarkerArea) {
  struct Case {
    const char* what;
    Point p;
    bool marker;
    bool label;
  };
  // At zoom 17 a plain label of "Place 0" (49 px) has its backdrop from p.x + 11 to p.x + 70
  // and from p.y - 8.92 down to p.y + 6.08.
  const Rect area{100, 50, 700, 550};
  for (const Case& c : std::vector<Case>{{"inside", {300, 300}, true, true},
                                         {"crossing the right edge", {631, 300}, true, false},
                                         {"touching the right edge", {629.9, 300}, true, true},
                                         {"crossing the top edge", {300, 58.8}, true, false},
                                         {"crossing the bottom edge", {300, 546}, true, true},
                                         {"centre left of the area", {99.9, 300}, false, false},
                                         {"centre on the area's left edge", {100.1, 300}, true, true},
                                         {"centre on the bottom edge", {300, 550}, false, false}}) {
    const Camera camera = camera_at(17.0);
    const Drawn d = draw(pois_at(camera, {{Category::Park, c.p.x, c.p.y}}), std::nullopt, 17.0, area);
    EXPECT_EQ(discs(d.scene, 9.0).size(), c.marker ? 1u : 0u) << c.what;
    EXPECT_EQ(d.labels.size(), c.label ? 1u : 0u) << c.what;
    EXPECT_EQ(std::get<scene::PushLayer>(d.scene.items().front()).clip, zarn_ui::Shape(area));
  }
}

// At zoom 17 a name that would overlap a name of higher priority already placed is left out; its
// marker stays. A plain label's backdrop spans p.x + 11 to p.x + 70 and p.y - 8.92 to p.y + 6.08.
TEST(PaintMarkers, ANameOverlappingAHigherOnesIsLeftOut) {
  using enum Category;
  struct Case {
    const char* what;
    std::vector<Spot> spots;
    std::optional<std::string> selected;
    std::vector<std::string> labels;  // in drawing order
  };
  const std::vector<Case> cases = {
      {"side by side, 40 px apart: the shop's name would cover the landmark's",
       {{Shop, 300, 300}, {Landmark, 340, 300}},
       std::nullopt,
       {"Place 1"}},
      {"the same, the landmark listed first", {{Landmark, 300, 300}, {Shop, 340, 300}}, std::nullopt, {"Place 0"}},
      {"one above the other, 20 px apart: no overlap",
       {{Shop, 300, 300}, {Landmark, 300, 320}},
       std::nullopt,
       {"Place 0", "Place 1"}},
      {"the selected one wins over any category", {{Shop, 300, 300}, {Landmark, 340, 300}}, "poi-0", {"Place 0"}},
  };
  for (const Case& c : cases) {
    const Camera camera = camera_at(17.0);
    const Drawn d = draw(pois_at(camera, c.spots), c.selected, 17.0);
    EXPECT_EQ(d.labels, c.labels) << c.what;
    EXPECT_EQ(discs(d.scene, 9.0).size() + discs(d.scene, 13.0).size(), 2u) << "both markers stay: " << c.what;
  }
}

}  // namespace
}  // namespace maps

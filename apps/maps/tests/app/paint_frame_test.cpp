// The order of a frame's layers and what the frame records, on the recording scene.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "draw_kit/palette.hpp"
#include "map_layers/markers.hpp"
#include "map_layers/scale_bar.hpp"
#include "map_layers/traffic.hpp"
#include "sample/synthetic_traffic.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

namespace scene = zarn_ui::scene;
using zarn_ui::Affine;
using zarn_ui::Scene;
using zarn_ui::theme::Theme;
using namespace std::chrono_literals;

struct Frame {
  Scene scene;
  std::vector<std::string> texts;
  std::vector<Color> full_fills;  // colours of fills over the whole bounds, in order
  std::size_t strokes = 0;
};

Frame draw(MapsApp& app, const Theme& theme = Theme::light()) {
  auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
  Frame f;
  app.draw(f.scene, Affine::identity(), ctx);
  for (const auto& it : f.scene.items()) {
    if (const auto* run = std::get_if<scene::TextRun>(&it)) f.texts.push_back(run->text);
    if (const auto* fill = std::get_if<scene::Fill>(&it)) {
      if (fill->shape == zarn_ui::Shape(app.bounds_rect)) f.full_fills.push_back(fill->color);
    }
    if (std::holds_alternative<scene::Stroke>(it)) ++f.strokes;
  }
  return f;
}

bool has_text(const Frame& f, const std::string& s) {
  return std::find(f.texts.begin(), f.texts.end(), s) != f.texts.end();
}

std::unique_ptr<MapsApp> sized(std::unique_ptr<MapsApp> app, double w = 1280, double h = 800) {
  app->bounds_rect = {0, 0, w, h};
  return app;
}

TEST(DrawFrame, SampleStateDrawsTheCityWithoutBanner) {
  auto app = sized(new_sample_app());
  app->map_layers.set_caching(false);  // reads the city's own items, not its kept picture
  const MapPalette p = map_palette(Theme::light());
  const Frame f = draw(*app);
  ASSERT_FALSE(f.full_fills.empty());
  EXPECT_EQ(f.full_fills.front(), p.land);  // the vector map's ground
  EXPECT_EQ(std::count(f.full_fills.begin(), f.full_fills.end(), p.grid_ground), 0);
  EXPECT_FALSE(has_text(f, "Loading map…"));
  EXPECT_FALSE(has_text(f, "Map imagery unavailable offline"));
  EXPECT_TRUE(has_text(f, scale_bar_length(app->model.center.lat, app->model.zoom, 110).label));
  EXPECT_EQ(app->drawn_bounds, app->bounds_rect);
}

TEST(DrawFrame, EmptyStateShowsTheGridAndLoadingBanner) {
  auto app = sized(new_empty_app());
  const MapPalette p = map_palette(Theme::light());
  const Frame f = draw(*app);
  ASSERT_FALSE(f.full_fills.empty());
  EXPECT_EQ(f.full_fills.front(), p.grid_ground);
  EXPECT_TRUE(has_text(f, "Loading map…"));

  // Every request failed and none is pending: the offline text, until one is pending again.
  app->backend.tiles.failures[{1, 1, 14}] = {TileClock::now() + 60s, 2s};
  EXPECT_TRUE(has_text(draw(*app), "Map imagery unavailable offline"));
  app->backend.tiles.pending.insert({2, 2, 14});
  EXPECT_TRUE(has_text(draw(*app), "Loading map…"));
}

TEST(DrawFrame, NarrowOpenPanelGetsAScrimAndNoBanner) {
  auto app = sized(new_empty_app(), 600, 800);
  app->panel.expanded = true;
  app->hit_targets.push_back({{0, 0, 5, 5}, UiMessage{msg::Noop{}}});  // left from an earlier frame
  const Frame f = draw(*app);
  EXPECT_FALSE(has_text(f, "Loading map…"));
  EXPECT_EQ(std::count(f.full_fills.begin(), f.full_fills.end(), Color::black().with_alpha(0.5f)), 1);
  // The scrim first, under the panel and the overlay; the stale target is gone; the overlay's
  // menu button and "More" come last.
  ASSERT_GE(app->hit_targets.size(), 3u);
  EXPECT_EQ(app->hit_targets[0].rect, app->bounds_rect);
  EXPECT_EQ(app->hit_targets[0].message, UiMessage{msg::CloseNavigation{}});
  for (const auto& h : app->hit_targets) EXPECT_NE(h.rect, (Rect{0, 0, 5, 5}));
  EXPECT_EQ(app->hit_targets.back().message, UiMessage{msg::ToggleOverflowMenu{}});

  app->panel.expanded = false;
  const Frame closed = draw(*app);
  EXPECT_TRUE(has_text(closed, "Loading map…"));
  for (const auto& h : app->hit_targets) EXPECT_NE(h.message, UiMessage{msg::CloseNavigation{}});
}

TEST(DrawFrame, TrafficLayerOnlyWhileSwitchedOn) {
  auto app = sized(new_sample_app());
  app->map_layers.set_caching(false);  // counts the layers' own strokes, not their kept picture
  const std::size_t without = draw(*app).strokes;
  app->backend.traffic.segments = synthetic_traffic(app->vector_map).segments;
  const std::size_t held_but_off = draw(*app).strokes;
  EXPECT_EQ(held_but_off, without);
  app->backend.traffic.enabled = true;
  const std::size_t with = draw(*app).strokes;
  Scene layer;
  paint_traffic(layer, Affine::identity(), view_camera(app->bounds_rect, app->model.center, app->model.zoom),
                app->backend.traffic.segments, map_palette(Theme::light()));
  ASSERT_GT(layer.size(), 0u);
  // The layer, and the outline of the legend's card.
  EXPECT_EQ(with - without, layer.size() + 1);
}

TEST(DrawFrame, TileStyleFollowsTheTheme) {
  auto app = sized(new_sample_app());
  draw(*app, Theme::dark());
  EXPECT_TRUE(app->backend.tiles.dark);
  draw(*app, Theme::light());
  EXPECT_FALSE(app->backend.tiles.dark);
}

TEST(DrawFrame, NonFiniteViewStillDrawsAFrame) {
  auto app = sized(new_sample_app());
  app->model.zoom = std::numeric_limits<double>::quiet_NaN();
  app->model.center = {std::numeric_limits<double>::infinity(), 11.5};
  app->backend.traffic.enabled = true;
  app->backend.traffic.segments = synthetic_traffic(app->vector_map).segments;
  const Frame f = draw(*app);
  EXPECT_FALSE(f.scene.empty());
  auto renderer = zarn_ui::offscreen::OffscreenRenderer::create(64, 64);
  ASSERT_TRUE(renderer.is_ok());
  EXPECT_EQ(renderer->render_resilient(f.scene).size(), 64u * 64u * 4u);
}

TEST(MarkerArea, NarrowOpenPanelKeepsMarkersRightOfIt) {
  struct Case {
    zarn_ui::Rect bounds;
    bool expanded;
    double x0;
  };
  for (const Case& c : std::vector<Case>{{{0, 0, 600, 800}, true, 16 + 384 + 10},
                                         {{0, 0, 600, 800}, false, 0},
                                         {{0, 0, 1280, 800}, true, 0},
                                         {{0, 0, 300, 800}, true, 16 + 268 + 10},
                                         {{100, 0, 500, 800}, true, 100 + 16 + 368 + 10}}) {
    const zarn_ui::Rect a = marker_area(c.bounds, c.expanded);
    EXPECT_DOUBLE_EQ(a.x0, c.x0) << c.bounds.width();
    EXPECT_EQ(a.x1, c.bounds.x1);
    EXPECT_EQ(a.y0, c.bounds.y0);
    EXPECT_EQ(a.y1, c.bounds.y1);
  }
}

}  // namespace
}  // namespace maps

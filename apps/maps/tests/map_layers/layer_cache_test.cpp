// The kept picture of the city and its traffic: frames drawn from it look as the layers drawn
// directly, and a new picture is made exactly when what it shows changes.

#include "map_layers/layer_cache.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/construct.hpp"
#include "app/map_layers_view.hpp"
#include "app/maps_app.hpp"
#include "layer_scene_items.hpp"
#include "sample/synthetic_traffic.hpp"
#include "transitions/view.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using namespace layer_test;
using zarn_ui::theme::Theme;

struct Pixels {
  std::uint32_t w = 0, h = 0;
  std::vector<std::uint8_t> rgba;
};

Scene layers(MapsApp& app, const Theme& theme, double scale, const Affine& transform = Affine::identity()) {
  const auto text = zarn_ui::text_render::TextRenderer::fixed(7);
  Scene scene;
  paint_map_layers(app.map_layers, map_layer_inputs(app), scene, transform, text, theme, scale);
  return scene;
}

// The map layers as the window shows them: a target the size of the view, in device pixels.
Pixels frame(MapsApp& app, const Theme& theme, double scale) {
  Pixels p;
  p.w = static_cast<std::uint32_t>(std::ceil(app.bounds_rect.x1 * scale));
  p.h = static_cast<std::uint32_t>(std::ceil(app.bounds_rect.y1 * scale));
  p.rgba = zarn_ui::render::render_to_image(layers(app, theme, scale), p.w, p.h, scale).to_rgba8();
  return p;
}

struct Difference {
  std::size_t pixels = 0;
  int max = 0;
};

Difference compare(const Pixels& a, const Pixels& b) {
  EXPECT_EQ(a.rgba.size(), b.rgba.size());
  Difference d;
  for (std::size_t i = 0; i + 3 < std::min(a.rgba.size(), b.rgba.size()); i += 4) {
    int m = 0;
    for (std::size_t c = 0; c < 4; ++c) m = std::max(m, std::abs(a.rgba[i + c] - b.rgba[i + c]));
    d.pixels += m > 0;
    d.max = std::max(d.max, m);
  }
  return d;
}

// Two copies of the sample state, one drawing the layers directly.
struct Twins {
  std::unique_ptr<MapsApp> cached = new_sample_app();
  std::unique_ptr<MapsApp> direct = new_sample_app();

  Twins(double w, double h, bool traffic) {
    both([&](MapsApp& app) {
      app.bounds_rect = {0, 0, w, h};
      if (traffic) {
        app.backend.traffic.enabled = true;
        app.backend.traffic.segments = synthetic_traffic(app.vector_map).segments;
      }
    });
    direct->map_layers.set_caching(false);
  }
  // Every picture made in the frame that needs it.
  Twins& in_frame() {
    cached->map_layers.set_background_pictures(false);
    return *this;
  }
  void both(const std::function<void(MapsApp&)>& f) {
    f(*cached);
    f(*direct);
  }
};

class LayerCachePoses : public ::testing::TestWithParam<std::tuple<double, bool>> {};

TEST_P(LayerCachePoses, FramesLookAsTheLayersDrawnDirectly) {
  const auto [scale, traffic] = GetParam();
  Twins twins(900, 600, traffic);
  twins.in_frame();
  const Theme theme = Theme::dark();
  enum class Picture { Kept, Filled, Moved, New };
  struct Pose {
    const char* what;
    double dx, dy;
    Picture picture;
    int same_as = -1;  // an earlier pose whose frame this one repeats exactly
  };
  // A new picture holds just the view; a move needing more fills a band with room to spare; a
  // move past the picture starts one around the view that keeps what the two share; a fraction
  // of a device pixel needs a new one (half a pixel is one device pixel at scale 2).
  const bool two = scale == 2.0;
  const std::vector<Pose> poses = {
      {"first frame", 0, 0, Picture::New},
      {"one pixel", 1, 0, Picture::Filled},
      {"and back", -1, 0, Picture::Kept, 0},
      {"within the filled band", 100, 0, Picture::Kept},
      {"past the band", 50, 0, Picture::Filled},
      {"down", 0, -30, Picture::Filled},
      {"back to the start", -150, 30, Picture::Kept, 0},
      {"past the picture", 450, 0, Picture::Moved},
      {"past it again, diagonally", -280, 270, Picture::Moved},
      {"back within it", 20, -20, Picture::Kept},
      {"half a pixel", 0.5, 0, two ? Picture::Kept : Picture::New},
      {"a quarter down", 0, 0.25, Picture::New},
      {"beyond the whole picture", 200, -1150, Picture::New},
  };
  std::vector<Pixels> seen;
  std::uint64_t started = 0, filled = 0, moved = 0;
  for (const Pose& pose : poses) {
    twins.both([&](MapsApp& app) { pan_map(app.session(), pose.dx, pose.dy); });
    const Pixels cached = frame(*twins.cached, theme, scale);
    const Pixels direct = frame(*twins.direct, theme, scale);
    started += pose.picture == Picture::New;
    filled += pose.picture == Picture::Filled;
    moved += pose.picture == Picture::Moved;
    const MapLayers& layers = twins.cached->map_layers;
    EXPECT_EQ(layers.rebuilds(), started) << pose.what;
    EXPECT_EQ(layers.extensions(), filled) << pose.what;
    EXPECT_EQ(layers.scrolls(), moved) << pose.what;
    const Difference d = compare(cached, direct);
    if (pose.picture == Picture::New) {
      // Drawn in one piece for this very view: the direct frame exactly.
      EXPECT_EQ(d.pixels, 0u) << pose.what;
    } else {
      // Parts drawn for other views meet at seams, where Cairo cut edges at points rounded to
      // 1/256 px; along nearly level edges an antialiased pixel can move by up to one of its 15
      // coverage rows (17 levels). The direct frame itself changes that way at its own border as
      // the centre moves.
      EXPECT_LT(d.pixels, cached.rgba.size() / 4 / 200) << pose.what;
      EXPECT_LE(d.max, 24) << pose.what;
    }
    if (pose.same_as >= 0) {
      EXPECT_EQ(compare(cached, seen[static_cast<std::size_t>(pose.same_as)]).pixels, 0u) << pose.what;
    }
    seen.push_back(cached);
  }
}

INSTANTIATE_TEST_SUITE_P(ScalesAndTraffic, LayerCachePoses,
                         ::testing::Combine(::testing::Values(1.0, 2.0), ::testing::Bool()));

TEST(LayerCache, NewPictureExactlyWhenWhatItShowsChanges) {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, 800, 600};
  app->map_layers.set_background_pictures(false);
  Theme theme = Theme::light();
  double scale = 1.0;
  Scene last = layers(*app, theme, scale);
  ASSERT_EQ(app->map_layers.rebuilds(), 1u);
  struct Step {
    const char* what;
    std::function<void()> change;
    bool new_picture;
  };
  const std::vector<Step> steps = {
      {"nothing", [] {}, false},
      {"a pan by whole pixels", [&] { pan_map(app->session(), 12, -7); }, false},
      {"zoom", [&] { app->model.zoom += 0.01; }, true},
      {"size", [&] { app->bounds_rect.x1 = 801; }, true},
      {"theme", [&] { theme = Theme::dark(); }, true},
      {"device scale", [&] { scale = 2.0; }, true},
      {"traffic on",
       [&] {
         app->backend.traffic.enabled = true;
         app->backend.traffic.segments = synthetic_traffic(app->vector_map).segments;
       },
       true},
      {"traffic levels", [&] { app->backend.traffic.segments.front().level = TrafficLevel::Standstill; }, true},
      {"traffic off", [&] { app->backend.traffic.enabled = false; }, true},
      {"the city", [&] { app->vector_map.roads.pop_back(); }, true},
      {"route and selection drawn above it", [&] { app->model.selected.reset(); }, false},
  };
  for (const Step& step : steps) {
    const std::uint64_t before = app->map_layers.rebuilds();
    step.change();
    const Scene now = layers(*app, theme, scale);
    EXPECT_EQ(app->map_layers.rebuilds() - before, step.new_picture ? 1u : 0u) << step.what;
    const auto images = items_of<scene::DrawImage>(now);
    ASSERT_EQ(images.size(), 1u) << step.what;
    EXPECT_EQ(images[0].image, app->map_layers.picture());
    EXPECT_EQ(images[0].shape, zarn_ui::Shape(app->bounds_rect));
    EXPECT_TRUE(items_of<scene::Stroke>(now).size() < 100u) << step.what;  // no street is stroked
    if (std::string(step.what) == "nothing") {
      EXPECT_EQ(now, last);  // an unchanged frame stays equal, so the window need not draw it again
    }
    last = now;
  }
}

// A new zoom shows the picture at hand scaled (sampled fast, over land where it does not reach)
// while the new one is made off the thread; then the new one, as sharp as the layers drawn
// directly. A zoom too far for the old picture to say anything makes the new one at once.
TEST(LayerCache, ZoomShowsThePictureScaledUntilTheNewOneIsMade) {
  Twins twins(800, 600, true);
  const Theme theme = Theme::light();
  (void)frame(*twins.cached, theme, 1.0);
  const zarn_ui::Image first = twins.cached->map_layers.picture();
  ASSERT_FALSE(first.empty());
  struct Step {
    const char* what;
    double zoom_by;
    bool scaled;
  };
  for (const Step& step : std::vector<Step>{{"in", 0.35, true}, {"out", -0.7, true}, {"far in", 2.5, false}}) {
    const zarn_ui::Image before = twins.cached->map_layers.picture();
    const std::uint64_t rebuilds = twins.cached->map_layers.rebuilds();
    twins.both([&](MapsApp& app) { app.model.zoom += step.zoom_by; });
    const Scene now = layers(*twins.cached, theme, 1.0);
    const auto images = items_of<scene::DrawImage>(now);
    ASSERT_EQ(images.size(), 1u) << step.what;
    if (!step.scaled) {
      EXPECT_EQ(twins.cached->map_layers.rebuilds(), rebuilds + 1) << step.what;
      EXPECT_FALSE(twins.cached->map_layers.picture_pending()) << step.what;
      continue;
    }
    EXPECT_EQ(images[0].image, before) << step.what;
    EXPECT_EQ(images[0].sampling, scene::Sampling::Fast) << step.what;
    EXPECT_NEAR(images[0].brush_transform.a, std::exp2(step.zoom_by), 1e-12) << step.what;
    const auto fills = items_of<scene::Fill>(now);
    const bool land_under = !fills.empty() && fills.front().shape == zarn_ui::Shape(twins.cached->bounds_rect);
    EXPECT_EQ(land_under, step.zoom_by < 0) << step.what;
    EXPECT_EQ(twins.cached->map_layers.rebuilds(), rebuilds) << step.what;
    EXPECT_TRUE(twins.cached->map_layers.picture_pending()) << step.what;

    twins.cached->map_layers.wait_for_picture();
    const Pixels sharp = frame(*twins.cached, theme, 1.0);
    EXPECT_FALSE(twins.cached->map_layers.picture_pending()) << step.what;
    EXPECT_EQ(twins.cached->map_layers.rebuilds(), rebuilds + 1) << step.what;
    EXPECT_FALSE(twins.cached->map_layers.picture() == before) << step.what;
    EXPECT_EQ(compare(sharp, frame(*twins.direct, theme, 1.0)).pixels, 0u) << step.what;
  }
}

// A move past the picture shows it moved, over land where it ends, while the picture around the
// new view is made off the thread.
TEST(LayerCache, MovePastThePictureShowsItMovedUntilTheNewOneIsMade) {
  Twins twins(800, 600, true);
  const Theme theme = Theme::light();
  (void)frame(*twins.cached, theme, 1.0);
  const zarn_ui::Image first = twins.cached->map_layers.picture();
  twins.both([](MapsApp& app) { pan_map(app.session(), 300, 0); });
  const Scene now = layers(*twins.cached, theme, 1.0);
  const auto images = items_of<scene::DrawImage>(now);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].image, first);
  EXPECT_EQ(images[0].brush_transform.a, 1.0);
  EXPECT_EQ(items_of<scene::Fill>(now).front().color, map_palette(theme).land);
  EXPECT_EQ(twins.cached->map_layers.scrolls(), 0u);
  EXPECT_TRUE(twins.cached->map_layers.picture_pending());
  twins.cached->map_layers.wait_for_picture();
  const Pixels sharp = frame(*twins.cached, theme, 1.0);
  EXPECT_FALSE(twins.cached->map_layers.picture() == first);
  EXPECT_EQ(compare(sharp, frame(*twins.direct, theme, 1.0)).pixels, 0u);
}

// A picture made off the thread for a city that changed meanwhile is not taken.
TEST(LayerCache, BackgroundPictureOfAChangedCityIsDropped) {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, 600, 400};
  const Theme theme = Theme::light();
  layers(*app, theme, 1.0);
  app->model.zoom += 0.35;
  layers(*app, theme, 1.0);
  ASSERT_TRUE(app->map_layers.picture_pending());
  app->map_layers.wait_for_picture();
  app->vector_map.roads.pop_back();
  const std::uint64_t rebuilds = app->map_layers.rebuilds();
  const Scene now = layers(*app, theme, 1.0);
  // Made at once for the changed city instead.
  EXPECT_EQ(app->map_layers.rebuilds(), rebuilds + 1);
  EXPECT_EQ(items_of<scene::DrawImage>(now).at(0).sampling, scene::Sampling::Smooth);
}

TEST(LayerCache, DrawsDirectlyWhereNoPictureServes) {
  struct Case {
    const char* what;
    Rect bounds;
    Affine transform;
  };
  for (const Case& c : std::vector<Case>{{"a scaling transform", {0, 0, 400, 300}, Affine::scale(2)},
                                         {"a view beyond the largest picture", {0, 0, 40000, 300}, Affine::identity()},
                                         {"no size", {0, 0, 0, 0}, Affine::identity()}}) {
    auto app = new_sample_app();
    app->bounds_rect = c.bounds;
    const Scene s = layers(*app, Theme::light(), 1.0, c.transform);
    EXPECT_TRUE(items_of<scene::DrawImage>(s).empty()) << c.what;
    EXPECT_GT(items_of<scene::Stroke>(s).size(), 100u) << c.what;
    EXPECT_EQ(app->map_layers.rebuilds(), 0u) << c.what;
  }
  // A non-finite view makes no picture and draws what the guards let through.
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, 400, 300};
  app->model.zoom = std::nan("");
  EXPECT_TRUE(items_of<scene::DrawImage>(layers(*app, Theme::light(), 1.0)).empty());
}

TEST(LayerCache, PictureIsFreedWhenTheCityIsNotShown) {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, 400, 300};
  layers(*app, Theme::light(), 1.0);
  EXPECT_FALSE(app->map_layers.picture().empty());
  app->vector_map = {};
  layers(*app, Theme::light(), 1.0);
  EXPECT_TRUE(app->map_layers.picture().empty());
  // With caching off nothing is kept.
  auto off = new_sample_app();
  off->bounds_rect = {0, 0, 400, 300};
  off->map_layers.set_caching(false);
  layers(*off, Theme::light(), 1.0);
  EXPECT_TRUE(off->map_layers.picture().empty());
  EXPECT_EQ(off->map_layers.rebuilds(), 0u);
}

}  // namespace
}  // namespace maps

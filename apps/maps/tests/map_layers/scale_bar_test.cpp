#include "map_layers/scale_bar.hpp"

#include <gtest/gtest.h>

#include <variant>
#include <vector>

#include "draw_kit/palette.hpp"
#include "map_layers/status_banner.hpp"

namespace maps {
namespace {

namespace scene = zarn_ui::scene;
using zarn_ui::Affine;
using zarn_ui::Rect;
using zarn_ui::Scene;
using zarn_ui::text_render::TextRenderer;
using zarn_ui::theme::Theme;

TEST(ScaleBarLength, PicksTheLongestRoundDistanceThatFits) {
  struct Case {
    double zoom;
    const char* label;
    double length;
    double tolerance;
  };
  for (const Case& c : std::vector<Case>{{14.4, "500 m", 103.5, 0.1},
                                         {19, "20 m", 100.4, 0.1},
                                         {3, "100 km", 7.7, 0.1},
                                         {13, "1 km", 0, 0},
                                         {28, "1 m", 0, 0}}) {
    const ScaleBar bar = scale_bar_length(48.1371, c.zoom, 110);
    EXPECT_EQ(bar.label, c.label) << c.zoom;
    if (c.tolerance > 0) {
      EXPECT_NEAR(bar.length_px, c.length, c.tolerance) << c.zoom;
    }
    if (std::string(c.label) != "1 m") {
      EXPECT_LE(bar.length_px, 110.0) << c.zoom;
    }
  }
  // Where even 1 m is wider than the limit, it is drawn at its full length.
  EXPECT_GT(scale_bar_length(48.1371, 28, 110).length_px, 110.0);
}

TEST(PaintScaleBar, BackdropBarTicksAndCentredLabel) {
  const TextRenderer text = TextRenderer::fixed(5);
  const Theme theme = Theme::light();
  Scene s;
  const Rect bounds{0, 0, 1280, 800};
  paint_scale_bar(s, Affine::identity(), text, bounds, {48.1371, 11.5754}, 14.4, theme, 1214);
  ASSERT_EQ(s.size(), 5u);
  const double len = scale_bar_length(48.1371, 14.4, 110).length_px;
  const double l = 1214 - len, y = 774;
  const auto& backdrop = std::get<scene::Fill>(s.items()[0]);
  EXPECT_EQ(std::get<zarn_ui::RoundedRect>(backdrop.shape), (zarn_ui::RoundedRect{{l - 8, y - 4, 1222, y + 14}, 4}));
  EXPECT_EQ(backdrop.color, theme.background.multiply_alpha(0.7f));
  const std::vector<zarn_ui::Line> lines = {
      {{l, y}, {1214, y}}, {{l, y - 3}, {l, y + 3}}, {{1214, y - 3}, {1214, y + 3}}};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& st = std::get<scene::Stroke>(s.items()[1 + i]);
    EXPECT_EQ(std::get<zarn_ui::Line>(st.shape), lines[i]);
    EXPECT_EQ(st.width, 2.0);
    EXPECT_EQ(st.color, theme.text);
  }
  const auto& label = std::get<scene::TextRun>(s.items()[4]);
  EXPECT_EQ(label.text, "500 m");
  EXPECT_EQ(label.size, 10.0f);
  EXPECT_EQ(label.color, theme.text_secondary);
  EXPECT_EQ(label.transform, Affine::translate(l + (len - 25) / 2, y + 2));
}

TEST(StatusBanner, TextFollowsFailuresAndPendingRequests) {
  using namespace std::chrono_literals;
  TileStore store = new_offline_tile_store("/nonexistent");
  const TileKey key{1, 2, 3};
  EXPECT_TRUE(tiles_may_still_load(store));
  store.failures[key] = {TileClock::now() + 5s, 2s};
  EXPECT_FALSE(tiles_may_still_load(store));
  store.pending.insert({4, 5, 6});
  EXPECT_TRUE(tiles_may_still_load(store));
  // A host known not to answer: nothing pending will come either.
  store.host_failing = true;
  EXPECT_FALSE(tiles_may_still_load(store));
}

TEST(StatusBanner, CardCentredBesideTheSidePanel) {
  const TextRenderer text = TextRenderer::fixed(10);
  const Theme theme = Theme::light();
  const TileStore store = new_offline_tile_store("/nonexistent");
  struct Case {
    Rect bounds;
    bool collapsed;
    double cx;
  };
  // Wide: from the panel's right edge + 10 (16 + 384 + 10 = 410) to 1280.
  for (const Case& c : std::vector<Case>{{{0, 0, 1280, 800}, false, (410 + 1280) / 2.0},
                                         {{0, 0, 1280, 800}, true, 640},
                                         {{0, 0, 600, 800}, false, 300}}) {
    Scene s;
    paint_status_banner(s, Affine::identity(), text, c.bounds, c.collapsed, store, theme);
    ASSERT_EQ(s.size(), 5u);   // shadow, fill, border, dot, text
    const double w = 12 * 10;  // "Loading map…" is twelve characters
    const auto& fill = std::get<scene::Fill>(s.items()[1]);
    EXPECT_EQ(std::get<zarn_ui::RoundedRect>(fill.shape),
              (zarn_ui::RoundedRect::make({c.cx - (w + 44) / 2, 383, c.cx + (w + 44) / 2, 417}, 17)));
    EXPECT_EQ(fill.color, theme.surface);
    const auto& dot = std::get<scene::Fill>(s.items()[3]);
    EXPECT_EQ(std::get<zarn_ui::Circle>(dot.shape), (zarn_ui::Circle{{c.cx - (w + 44) / 2 + 18, 400}, 4}));
    EXPECT_EQ(dot.color, theme.accent);
    const auto& label = std::get<scene::TextRun>(s.items()[4]);
    EXPECT_EQ(label.text, "Loading map…");
    EXPECT_EQ(label.size, 13.0f);
    EXPECT_EQ(label.transform, Affine::translate(c.cx - (w + 44) / 2 + 30, 383 + (34 - 16.25) / 2));
  }
}

}  // namespace
}  // namespace maps

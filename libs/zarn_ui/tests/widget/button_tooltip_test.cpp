// The framework's button painters and the hover tooltip's placement.

#include <gtest/gtest.h>

#include "paint_fixture.hpp"
#include "zarn_ui/button.hpp"
#include "zarn_ui/tooltip.hpp"

namespace zarn_ui::widgets {
namespace {

using testing::PaintFixture;

TEST(Button, GlyphCentredOnACardThatShowsHover) {
  PaintFixture f;
  const Rect r{1224, 16, 1264, 56};
  Button{.rect = r, .label = "Zoom in", .glyph = "+", .glyph_size = 22.0f, .corner_radius = 10.0}.paint(
      f.scene, Affine::identity(), f.text, f.theme);
  auto fills = f.fills();
  ASSERT_EQ(fills.size(), 2u);  // shadow, face
  EXPECT_EQ(fills[1].color, f.theme.surface);
  EXPECT_EQ(fills[1].shape, Shape(RoundedRect::make(r, 10.0)));
  ASSERT_EQ(f.runs().size(), 1u);
  const scene::TextRun glyph = f.runs()[0];
  EXPECT_EQ(glyph.text, "+");
  EXPECT_EQ(glyph.size, 22.0f);
  EXPECT_EQ(glyph.transform.translation(), (Vec2{1244 - 5, 36 - 1.25 * 22 / 2}));

  f.scene.clear();
  Button{.rect = r, .label = "Zoom in", .glyph = "+", .hovered = true, .focused = true}.paint(
      f.scene, Affine::identity(), f.text, f.theme);
  EXPECT_EQ(f.fills()[1].color, f.theme.hover);
  const auto strokes = f.strokes();
  ASSERT_EQ(strokes.size(), 2u);  // outline, focus ring
  EXPECT_EQ(strokes[1].color, f.theme.focus);

  // A button without a glyph shows its label; an empty rectangle draws nothing.
  f.scene.clear();
  Button{.rect = r, .label = "Go"}.paint(f.scene, Affine::identity(), f.text, f.theme);
  EXPECT_EQ(f.runs().at(0).text, "Go");
  f.scene.clear();
  Button{.rect = Rect{5, 5, 5, 30}, .glyph = "+"}.paint(f.scene, Affine::identity(), f.text, f.theme);
  EXPECT_TRUE(f.scene.empty());
}

TEST(ActionButton, PrimaryOnAccentSecondaryOnControlLabelShortened) {
  PaintFixture f;
  const Rect r{274, 152, 384, 192};
  draw_action_button(f.scene, Affine::identity(), f.text, f.theme, r, "Close", true, false);
  EXPECT_EQ(f.fills().at(0).color, f.theme.accent);
  EXPECT_TRUE(f.strokes().empty());
  const scene::TextRun label = f.runs().at(0);
  EXPECT_EQ(label.text, "Close");
  EXPECT_EQ(label.color, Color::white());
  EXPECT_EQ(label.weight, FontWeight::Semibold);
  EXPECT_EQ(label.transform.translation().x, 329 - 25);

  f.scene.clear();
  draw_action_button(f.scene, Affine::identity(), f.text, f.theme, r, "A label far too long for it", false, true);
  EXPECT_EQ(f.fills().at(0).color, f.theme.control);
  EXPECT_EQ(f.runs().at(0).color, f.theme.text);
  EXPECT_EQ(f.runs().at(0).max_width, 94.0);
  EXPECT_EQ(f.strokes().size(), 2u);  // outline, focus ring

  // The high-contrast accent is light: its label is dark.
  f.scene.clear();
  f.theme = theme::Theme::high_contrast();
  draw_action_button(f.scene, Affine::identity(), f.text, f.theme, r, "Close", true, false);
  EXPECT_LT(theme::luminance8(f.runs().at(0).color), 64.0);
}

TEST(Tooltip, PlacedBelowElseLeftElseAboveInsideTheBounds) {
  const Rect bounds{0, 0, 1280, 800};
  struct Case {
    const char* name;
    Rect anchor;
    Rect expected;  // for a label 40 wide: bubble 56 x 25
  };
  const Case cases[] = {
      {"below, centred", {600, 300, 640, 340}, {592, 346, 648, 371}},
      {"below a control at the right edge, slid inside", {1250, 16, 1274, 56}, {1220, 62, 1276, 87}},
      {"left of a button in the bottom corner", {1224, 754, 1264, 784}, {1162, 756.5, 1218, 781.5}},
      {"above when below and left are out, slid inside", {10, 770, 50, 790}, {4, 739, 60, 764}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(tooltip_rect(c.anchor, 40.0, bounds), c.expected);
  }
  // Bounds too small for any side: pushed inside from the top-left.
  EXPECT_EQ(tooltip_rect({0, 0, 10, 10}, 40.0, {0, 0, 30, 30}), (Rect{4, 4, 60, 29}));
}

TEST(Tooltip, DrawsABubbleWithTheLabel) {
  PaintFixture f;
  draw_hover_tooltip(f.scene, Affine::identity(), f.text, f.theme, {600, 300, 640, 340}, "More", {0, 0, 1280, 800});
  ASSERT_EQ(f.fills().size(), 1u);
  EXPECT_EQ(std::get<RoundedRect>(f.fills()[0].shape).rect, (Rect{592, 346, 648, 371}));
  const scene::TextRun label = f.runs().at(0);
  EXPECT_EQ(label.text, "More");
  EXPECT_EQ(label.transform.translation(), (Vec2{600, 351}));
  EXPECT_EQ(label.color, f.theme.surface);
  f.scene.clear();
  draw_hover_tooltip(f.scene, Affine::identity(), f.text, f.theme, {600, 300, 640, 340}, "", {0, 0, 1280, 800});
  EXPECT_TRUE(f.scene.empty());
}

// A label wider than the bounds is wrapped between words inside them, on four lines at most, the
// last cut short.
TEST(Tooltip, ALabelWiderThanTheBoundsIsWrapped) {
  PaintFixture f;
  const Rect bounds{0, 0, 200, 300};  // room for 17 characters of 10 px
  const std::string label = "Routing failed: the routing service did not answer";
  draw_hover_tooltip(f.scene, Affine::identity(), f.text, f.theme, {80, 20, 120, 40}, label, bounds);
  const auto runs = f.runs();
  ASSERT_EQ(runs.size(), 4u);
  std::string joined;
  for (std::size_t i = 0; i < runs.size(); ++i) {
    joined += (i ? " " : "") + runs[i].text;
    EXPECT_LE(f.text.measure(runs[i].text, 12.0f), 176.0) << runs[i].text;
    EXPECT_EQ(runs[i].transform.translation().y, runs[0].transform.translation().y + 15.0 * static_cast<double>(i));
  }
  EXPECT_EQ(joined, label);
  ASSERT_EQ(f.fills().size(), 1u);
  const Rect bubble = std::get<RoundedRect>(f.fills()[0].shape).rect;
  EXPECT_EQ(bubble.height(), 4 * 15.0 + 10.0);
  EXPECT_GE(bubble.x0, bounds.x0 + 4);
  EXPECT_LE(bubble.x1, bounds.x1 - 4);

  f.scene.clear();
  draw_hover_tooltip(f.scene, Affine::identity(), f.text, f.theme, {80, 20, 120, 40}, label + " in time at all, again",
                     bounds);
  const auto cut = f.runs();
  ASSERT_EQ(cut.size(), 4u);
  // The last line holds the rest and is drawn within the room, which ends it with "…".
  EXPECT_EQ(cut.back().text, "answer in time at all, again");
  EXPECT_EQ(cut.back().max_width, std::optional<double>(176.0));
}

}  // namespace
}  // namespace zarn_ui::widgets

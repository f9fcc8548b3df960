#include "draw_kit/primitives.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "draw_kit/card.hpp"
#include "draw_kit/palette.hpp"
#include "draw_kit/text_fit.hpp"

namespace maps {
namespace {

namespace scene = zarn_ui::scene;
using zarn_ui::PathVerb;
using zarn_ui::RoundedRect;

const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 1};

template <class T>
const T& item(const Scene& s, std::size_t i) {
  return std::get<T>(s.items().at(i));
}

TEST(Polylines, TooFewPointsDrawNothing) {
  Scene s;
  const std::vector<Point> two = {{0, 0}, {10, 0}};
  const std::vector<Point> one = {{0, 0}};
  fill_closed_polyline(s, Affine::identity(), two, kRed);
  stroke_polyline(s, Affine::identity(), one, kRed, 2.0);
  stroke_polyline(s, Affine::identity(), {}, kRed, 2.0);
  EXPECT_TRUE(s.empty());
}

TEST(Polylines, FillClosesAndStrokeStaysOpen) {
  Scene s;
  const Affine t = Affine::translate(5, 7);
  const std::vector<Point> pts = {{0, 0}, {10, 0}, {10, 10}};
  fill_closed_polyline(s, t, pts, kRed);
  stroke_polyline(s, t, pts, kBlue, 3.0);
  ASSERT_EQ(s.size(), 2u);

  const auto& fill = item<scene::Fill>(s, 0);
  const auto& fill_path = std::get<BezPath>(fill.shape).elements();
  ASSERT_EQ(fill_path.size(), 4u);
  EXPECT_EQ(fill_path[0].verb, PathVerb::MoveTo);
  EXPECT_EQ(fill_path[2].verb, PathVerb::LineTo);
  EXPECT_EQ(fill_path[2].p[0], (Point{10, 10}));
  EXPECT_EQ(fill_path[3].verb, PathVerb::Close);
  EXPECT_EQ(fill.transform, t);
  EXPECT_EQ(fill.color, kRed);

  const auto& stroke = item<scene::Stroke>(s, 1);
  const auto& stroke_path = std::get<BezPath>(stroke.shape).elements();
  ASSERT_EQ(stroke_path.size(), 3u);
  EXPECT_EQ(stroke_path.back().verb, PathVerb::LineTo);
  EXPECT_EQ(stroke.width, 3.0);
}

TEST(Shapes, CirclesLinesAndRoundedRects) {
  Scene s;
  fill_circle(s, Affine::identity(), kRed, 3, 4, 5);
  stroke_circle(s, Affine::identity(), kRed, 3, 4, 5, 2);
  stroke_line(s, Affine::identity(), kBlue, 1, 2, 3, 4, 1.5);
  fill_rounded_rect(s, Affine::identity(), {10, 10, 0, 0}, kRed, 50);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(std::get<zarn_ui::Circle>(item<scene::Fill>(s, 0).shape), (zarn_ui::Circle{{3, 4}, 5}));
  EXPECT_EQ(item<scene::Stroke>(s, 1).width, 2.0);
  EXPECT_EQ(std::get<zarn_ui::Line>(item<scene::Stroke>(s, 2).shape), (zarn_ui::Line{{1, 2}, {3, 4}}));
  // Normalised and the radius held to half the shorter side.
  EXPECT_EQ(std::get<RoundedRect>(item<scene::Fill>(s, 3).shape), (RoundedRect{{0, 0, 10, 10}, 5}));
}

TEST(PaintCard, ShadowFillThenBorder) {
  Scene s;
  paint_card(s, Affine::identity(), {10, 20, 110, 60}, kRed, kBlue, 8);
  ASSERT_EQ(s.size(), 3u);
  const auto& shadow = item<scene::Fill>(s, 0);
  EXPECT_EQ(std::get<RoundedRect>(shadow.shape), (RoundedRect{{9, 23, 111, 65}, 9}));
  EXPECT_EQ(color_to_rgba8(shadow.color), (Rgba8{0, 0, 0, 46}));
  const auto& fill = item<scene::Fill>(s, 1);
  EXPECT_EQ(std::get<RoundedRect>(fill.shape), (RoundedRect{{10, 20, 110, 60}, 8}));
  EXPECT_EQ(fill.color, kRed);
  const auto& border = item<scene::Stroke>(s, 2);
  EXPECT_EQ(std::get<RoundedRect>(border.shape), (RoundedRect{{10, 20, 110, 60}, 8}));
  EXPECT_EQ(border.color, kBlue);
  EXPECT_EQ(border.width, 1.0);
}

TEST(TextPlacement, LabelsSitAtTheirTopLeftCorner) {
  const TextRenderer text = TextRenderer::fixed(10);
  const Affine base = Affine::scale(2.0);
  Scene s;
  draw_label(s, text, base, "abc", kRed, 5, 6, 12);
  draw_label_weighted(s, text, base, "abc", kRed, 5, 6, 12, FontWeight::Semibold);
  draw_text_right(s, text, base, "abc", kRed, 100, 6, 12);
  draw_text_centered(s, text, base, "abc", kRed, 0, 100, 6, 12);
  draw_text_centered(s, text, base, "abcdefghijkl", kRed, 0, 100, 6, 12);
  ASSERT_EQ(s.size(), 5u);
  EXPECT_EQ(item<scene::TextRun>(s, 0).transform, base * Affine::translate(5, 6));
  EXPECT_EQ(item<scene::TextRun>(s, 0).weight, FontWeight::Normal);
  EXPECT_FALSE(item<scene::TextRun>(s, 0).max_width.has_value());
  EXPECT_EQ(item<scene::TextRun>(s, 1).weight, FontWeight::Semibold);
  EXPECT_EQ(item<scene::TextRun>(s, 2).transform, base * Affine::translate(70, 6));
  EXPECT_EQ(item<scene::TextRun>(s, 3).transform, base * Affine::translate(35, 6));
  // Wider than the span: starts left of its left edge.
  EXPECT_EQ(item<scene::TextRun>(s, 4).transform, base * Affine::translate(-10, 6));
  EXPECT_EQ(measure_text(text, "abc", 12), 30.0);
}

TEST(EllipsizeText, KeepsWholeCharactersThatFitWithTheEllipsis) {
  const TextRenderer text = TextRenderer::fixed(10);
  struct Case {
    const char* in;
    double max;
    const char* out;
  };
  for (const Case& c : std::vector<Case>{{"Hello", 50, "Hello"},
                                         {"Hello", 49.9, "Hel…"},
                                         {"Hello", 40, "Hel…"},
                                         {"Hello", 39, "He…"},
                                         {"Hello", 19, "…"},
                                         {"Hello", 5, "…"},
                                         {"", -1, "…"},
                                         {"", 0, ""},
                                         {"Grüße aus", 50, "Grüß…"},
                                         {"日本語テキスト", 30, "日本…"}}) {
    EXPECT_EQ(ellipsize_text(text, c.in, 12, c.max), c.out) << c.in << " " << c.max;
  }
}

TEST(EllipsizeText, DrawnWithTheLimitOnePixelWider) {
  const TextRenderer text = TextRenderer::fixed(10);
  Scene s;
  draw_text_ellipsized(s, text, Affine::identity(), "Hello world", kRed, 3, 4, 12, 60);
  ASSERT_EQ(s.size(), 1u);
  const auto& run = item<scene::TextRun>(s, 0);
  EXPECT_EQ(run.text, "Hello…");
  ASSERT_TRUE(run.max_width.has_value());
  EXPECT_EQ(*run.max_width, 61.0);
  EXPECT_EQ(run.transform, Affine::translate(3, 4));
}

}  // namespace
}  // namespace maps

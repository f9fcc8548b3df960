#include <gtest/gtest.h>

#include <limits>

#include "zarn_ui/scene.hpp"
#include "zarn_ui/surface.hpp"

namespace zarn_ui {
namespace {

struct RadiusCase {
  Rect rect;
  double radius;
  Rect want_rect;
  double want_radius;
};

TEST(RoundedRect, NormalisesAndClampsRadius) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const RadiusCase cases[] = {
      {{0, 0, 100, 40}, 8, {0, 0, 100, 40}, 8},    // fits
      {{0, 0, 100, 40}, 50, {0, 0, 100, 40}, 20},  // half the shorter side
      {{0, 0, 30, 80}, 100, {0, 0, 30, 80}, 15},   // shorter side is the width
      {{100, 40, 0, 0}, 50, {0, 0, 100, 40}, 20},  // negative sizes flipped first
      {{10, 10, 10, 50}, 5, {10, 10, 10, 50}, 0},  // zero width: square corners
      {{0, 0, 100, 40}, -3, {0, 0, 100, 40}, 0},   // negative radius
      {{0, 0, 100, 40}, nan, {0, 0, 100, 40}, 0},  // not a number
  };
  for (const RadiusCase& c : cases) {
    const RoundedRect rr = RoundedRect::make(c.rect, c.radius);
    EXPECT_EQ(rr.rect, c.want_rect);
    EXPECT_DOUBLE_EQ(rr.radius, c.want_radius) << c.radius;
  }
}

TEST(Shape, PathOfReversedRectIsNormalised) {
  const BezPath p = to_path(Shape{Rect{10, 20, 0, 0}});
  ASSERT_EQ(p.elements().size(), 5u);
  EXPECT_EQ(p.elements()[0].p[0], (Point{0, 0}));
  EXPECT_EQ(p.elements()[2].p[0], (Point{10, 20}));
  EXPECT_EQ(p.elements()[4].verb, PathVerb::Close);
}

TEST(Scene, EqualListsCompareEqualAndAnyChangeShows) {
  auto build = [](double x) {
    Scene s;
    s.fill(Rect{0, 0, x, 10}, Color::black());
    s.push_layer(Circle{{5, 5}, 4});
    s.stroke(Line{{0, 0}, {1, 1}}, Color::white(), 2.0, Affine::translate(1, 2));
    s.pop_layer();
    return s;
  };
  EXPECT_EQ(build(10), build(10));
  EXPECT_NE(build(10), build(11));
  Scene a = build(10);
  a.add_text({"x", 12.0f, FontWeight::Normal, Color::black(), Affine::identity(), std::nullopt});
  EXPECT_NE(a, build(10));
}

TEST(Scene, ImagesCompareByIdentity) {
  const std::vector<std::uint8_t> px(4, 255);
  const Image one = Image::from_rgba8(1, 1, px);
  const Image other = Image::from_rgba8(1, 1, px);
  Scene a, b, c;
  a.draw_image(one, Affine::identity(), Rect{0, 0, 1, 1});
  b.draw_image(one, Affine::identity(), Rect{0, 0, 1, 1});
  c.draw_image(other, Affine::identity(), Rect{0, 0, 1, 1});
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
}

TEST(Scene, AppendPutsTheTransformInFront) {
  Scene inner;
  inner.fill(Rect{0, 0, 1, 1}, Color::black(), Affine::scale(2));
  inner.pop_layer();
  Scene outer;
  outer.append(inner, Affine::translate(5, 0));
  ASSERT_EQ(outer.size(), 2u);
  const auto& fill = std::get<scene::Fill>(outer.items()[0]);
  EXPECT_EQ(fill.transform, Affine::translate(5, 0) * Affine::scale(2));
  EXPECT_EQ(fill.transform.apply({1, 0}), (Point{7, 0}));
}

TEST(Surface, SoftOutlineAndGrip) {
  const Shape outline = surface::soft_outline({100, 50, 460, 206});
  EXPECT_EQ(std::get<RoundedRect>(outline), RoundedRect::make({100, 50, 460, 206}, 14));

  Scene s;
  surface::floating_drag_grip(s, Affine::identity(), {100, 50, 460, 206}, Color::white());
  ASSERT_EQ(s.size(), 1u);
  const auto& grip = std::get<RoundedRect>(std::get<scene::Fill>(s.items()[0]).shape);
  EXPECT_DOUBLE_EQ(grip.rect.center().x, 280.0);  // centred
  EXPECT_GE(grip.rect.y0, 50.0);                  // near the top, inside the panel
  EXPECT_LE(grip.rect.y1, 70.0);
}

}  // namespace
}  // namespace zarn_ui

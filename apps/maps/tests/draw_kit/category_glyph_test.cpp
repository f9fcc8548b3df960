#include "draw_kit/category_glyph.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>
#include <vector>

namespace maps {
namespace {

namespace scene = zarn_ui::scene;

const Color kFg = Color::white();
const Color kBg = Color::rgba(0.2f, 0.4f, 0.6f);
constexpr Point kCentre{100, 50};

// One item of a pictogram: 'f' fill or 's' stroke, its shape kind, whether in the background
// colour.
std::string signature(const Scene& s) {
  std::string out;
  for (const auto& it : s.items()) {
    const auto kind = [](const zarn_ui::Shape& sh) {
      switch (sh.index()) {
        case 1: return 'R';  // rounded rectangle
        case 2: return 'C';  // circle
        case 4: return 'L';  // line
        case 5: return 'P';  // path
        default: return '?';
      }
    };
    if (const auto* f = std::get_if<scene::Fill>(&it)) {
      out += 'f';
      out += kind(f->shape);
      if (f->color == kBg) out += '*';
    } else if (const auto* st = std::get_if<scene::Stroke>(&it)) {
      out += 's';
      out += kind(st->shape);
      if (st->color == kBg) out += '*';
    }
    out += ' ';
  }
  return out;
}

TEST(CategoryGlyph, EachCategoryDrawsItsShapesInOrder) {
  const std::vector<std::pair<Category, std::string>> cases = {
      {Category::Landmark, "fP "},
      {Category::Cafe, "fR sC sL "},
      {Category::Restaurant, "sL sL sL sL sL "},
      {Category::Bar, "fP sL sL "},
      {Category::Museum, "fP sL sL sL sL "},
      {Category::Park, "sL fC "},
      {Category::Transit, "fR fR* fR* fC fC "},
      {Category::Hotel, "sL fR fR "},
      {Category::Shop, "sC fR "},
      {Category::Hospital, "fR fR "},
      {Category::Other, "fC "},
  };
  for (const auto& [category, expected] : cases) {
    Scene s;
    paint_category_glyph(s, Affine::identity(), category, kFg, kBg, kCentre, 13);
    EXPECT_EQ(signature(s), expected) << int(category);
  }
}

TEST(CategoryGlyph, ScalesWithSizeAroundTheCentre) {
  // Line width 0.16 x size, but never thinner than 1.4 px.
  for (const auto& [size, width] : std::vector<std::pair<double, double>>{{13, 2.08}, {9, 1.44}, {6, 1.4}}) {
    Scene s;
    paint_category_glyph(s, Affine::identity(), Category::Cafe, kFg, kBg, kCentre, size);
    const auto& saucer = std::get<scene::Stroke>(s.items()[2]);
    EXPECT_NEAR(saucer.width, width, 1e-12) << size;
    const auto& line = std::get<zarn_ui::Line>(saucer.shape);
    EXPECT_NEAR(line.p0.x, kCentre.x - 0.8 * 0.58 * size, 1e-9);
    EXPECT_NEAR(line.p0.y, kCentre.y + 0.68 * 0.58 * size, 1e-9);
  }
  // The star's tips lie 0.58 x size from the centre, the first straight up.
  Scene star;
  paint_category_glyph(star, Affine::identity(), Category::Landmark, kFg, kBg, kCentre, 10);
  const auto& els = std::get<zarn_ui::BezPath>(std::get<scene::Fill>(star.items()[0]).shape).elements();
  ASSERT_EQ(els.size(), 11u);  // ten points and the close
  EXPECT_NEAR(els[0].p[0].x, kCentre.x, 1e-9);
  EXPECT_NEAR(els[0].p[0].y, kCentre.y - 5.8, 1e-9);
  EXPECT_NEAR(std::hypot(els[1].p[0].x - kCentre.x, els[1].p[0].y - kCentre.y), 0.45 * 5.8, 1e-9);
}

TEST(CategoryGlyph, CornerRadiiStayInPixels) {
  for (const double size : {9.0, 26.0}) {
    Scene s;
    paint_category_glyph(s, Affine::identity(), Category::Hospital, kFg, kBg, kCentre, size);
    const auto& bar = std::get<zarn_ui::RoundedRect>(std::get<scene::Fill>(s.items()[0]).shape);
    EXPECT_EQ(bar.radius, 1.5);
    EXPECT_NEAR(bar.rect.x0, kCentre.x - 0.58 * size, 1e-9);
  }
}

}  // namespace
}  // namespace maps

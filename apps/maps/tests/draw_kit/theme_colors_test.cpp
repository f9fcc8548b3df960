#include "draw_kit/theme_colors.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "draw_kit/palette.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

TEST(CategoryColor, EveryCategoryHasItsThemeColour) {
  for (const Theme& t : {Theme::light(), Theme::dark()}) {
    const std::vector<std::pair<Category, Color>> cases = {{Category::Landmark, t.danger},
                                                           {Category::Cafe, t.warning},
                                                           {Category::Restaurant, mix_color(t.danger, t.warning, 0.5f)},
                                                           {Category::Bar, t.tone_3},
                                                           {Category::Museum, t.info},
                                                           {Category::Park, t.success},
                                                           {Category::Transit, t.tone_2},
                                                           {Category::Hotel, t.tone_4},
                                                           {Category::Shop, t.warning},
                                                           {Category::Hospital, t.danger},
                                                           {Category::Other, t.tone_1},
                                                           {static_cast<Category>(200), t.tone_1}};
    for (const auto& [category, color] : cases) EXPECT_EQ(category_color(t, category), color) << int(category);
  }
}

TEST(TransitLegColor, OwnColourWhenItParsesElseTheMode) {
  const Theme t = Theme::dark();
  const Color own = Color::from_rgba8(0x1a, 0x2b, 0x3c);
  struct Case {
    TransitMode mode;
    std::optional<std::string> color;
    Color expected;
  };
  for (const Case& c : std::vector<Case>{{TransitMode::Bus, "#1a2B3c", own},
                                         {TransitMode::Bus, "##1A2B3C", own},
                                         {TransitMode::Tram, "1a2b3c", own},
                                         {TransitMode::Bus, std::nullopt, t.info},
                                         {TransitMode::Tram, "#1a2b3", t.danger},
                                         {TransitMode::Subway, "#1a2b3c4", t.accent},
                                         {TransitMode::Rail, "#zz2b3c", t.success},
                                         {TransitMode::Ferry, "", t.tone_3},
                                         {TransitMode::Walk, "nope", t.muted}}) {
    TransitLeg leg;
    leg.mode = c.mode;
    leg.color = c.color;
    const Color got = transit_leg_color(t, leg);
    EXPECT_EQ(color_to_rgba8(got), color_to_rgba8(c.expected)) << c.color.value_or("(none)");
    EXPECT_EQ(got.a, 1.0f);
  }
}

}  // namespace
}  // namespace maps

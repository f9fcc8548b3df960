#include "draw_kit/palette.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace maps {
namespace {

using zarn_ui::theme::Theme;

std::uint32_t rgb_of(const Color& c) {
  const Rgba8 b = color_to_rgba8(c);
  return (std::uint32_t{b.r} << 16) | (std::uint32_t{b.g} << 8) | b.b;
}

TEST(ColorToRgba8, RoundsAndHoldsChannelsToBytes) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float in;
    std::uint8_t out;
  };
  for (const Case& c : std::vector<Case>{{1.2f, 255},
                                         {-0.1f, 0},
                                         {0.5f, 128},
                                         {0.0f, 0},
                                         {1.0f, 255},
                                         {nan, 0},
                                         {std::numeric_limits<float>::infinity(), 255},
                                         {-std::numeric_limits<float>::infinity(), 0}}) {
    EXPECT_EQ(color_to_rgba8({c.in, c.in, c.in, c.in}), (Rgba8{c.out, c.out, c.out, c.out})) << c.in;
  }
}

TEST(MixColor, WorksOnBytesWithHalvesAwayFromZero) {
  const Color mid = mix_color(Color::black(), Color::white(), 0.5f);
  EXPECT_EQ(color_to_rgba8(mid), (Rgba8{128, 128, 128, 255}));
  EXPECT_EQ(mid.r, 128.0f * (1.0f / 255.0f));
  // Factor 0 gives the first colour quantised to 8 bits.
  const Color odd{0.3001f, 0.7f, 0.1f, 0.5f};
  EXPECT_EQ(mix_color(odd, Color::white(), 0.0f), rgba8_to_f32(color_to_rgba8(odd)));
  EXPECT_EQ(color_to_rgba8(mix_color(odd, Color::white(), 1.0f)), (Rgba8{255, 255, 255, 255}));
  EXPECT_EQ(blend_channel(10, 20, std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(blend_channel(0, 255, 2.0f), 255);
  EXPECT_EQ(blend_channel(255, 0, 2.0f), 0);
}

TEST(ParseHexColor, AcceptsSixDigitsAfterAnyNumberSigns) {
  const Color expected = rgba8_to_f32({26, 43, 60, 255});
  for (const char* ok : {"#1a2B3c", "##1a2B3c", "1a2B3c"}) {
    const auto c = parse_hex_color(ok);
    ASSERT_TRUE(c.has_value()) << ok;
    EXPECT_EQ(*c, expected) << ok;
  }
  for (const char* bad : {"#1a2B3", "#1a2B3c4", "", "#", "#1a2B3g", "#1a 2B3", "#+12345", "#é1234"}) {
    EXPECT_FALSE(parse_hex_color(bad).has_value()) << bad;
  }
}

TEST(IsDarkBackground, LuminanceBelow128IsDark) {
  Theme t = Theme::light();
  t.background = rgba8_to_f32({128, 128, 128, 255});
  EXPECT_FALSE(is_dark_background(t));
  t.background = rgba8_to_f32({127, 127, 127, 255});
  EXPECT_TRUE(is_dark_background(t));
  t.background = rgba8_to_f32({0, 179, 0, 255});  // 0.7152 * 179 = 128.02
  EXPECT_FALSE(is_dark_background(t));
  EXPECT_FALSE(is_dark_background(Theme::light()));
  EXPECT_TRUE(is_dark_background(Theme::dark()));
  EXPECT_TRUE(is_dark_background(Theme::high_contrast()));
}

struct Entry {
  const char* name;
  Color MapPalette::*member;
  std::uint32_t light;
  std::uint32_t dark;
};

TEST(MapPalette, MatchesTheThemesByteForByte) {
  const std::vector<Entry> entries = {
      {"land", &MapPalette::land, 0xfefeff, 0x111216},
      {"block", &MapPalette::block, 0xe5e5e6, 0x222326},
      {"block_outline", &MapPalette::block_outline, 0xcbcbcc, 0x323337},
      {"park", &MapPalette::park, 0xc1e2ce, 0x1b382b},
      {"park_outline", &MapPalette::park_outline, 0xa1d3b5, 0x225038},
      {"water", &MapPalette::water, 0xb8d3f0, 0x223c57},
      {"minor_road", &MapPalette::minor_road, 0xffffff, 0x454649},
      {"road_casing", &MapPalette::road_casing, 0xd5d5d6, 0x09090b},
      {"secondary_road", &MapPalette::secondary_road, 0xf6e5bf, 0x5d4923},
      {"major_road", &MapPalette::major_road, 0xf0d292, 0x85662a},
      {"route_line", &MapPalette::route_line, 0x2563eb, 0x5b8cff},
      {"route_casing", &MapPalette::route_casing, 0x92b1f5, 0x324d8c},
      {"halo", &MapPalette::halo, 0xffffff, 0xe7e7e8},
      {"grid_ground", &MapPalette::grid_ground, 0xf1f1f2, 0x0e0f12},
      {"grid_line", &MapPalette::grid_line, 0xdadadb, 0x292a2d},
      {"traffic_free", &MapPalette::traffic_free, 0x2f9e5b, 0x3fbf74},
      {"traffic_moderate", &MapPalette::traffic_moderate, 0xe0a11b, 0xf0b43c},
      {"traffic_heavy", &MapPalette::traffic_heavy, 0xdb6e30, 0xef834b},
      {"traffic_standstill", &MapPalette::traffic_standstill, 0xd64541, 0xef5b57},
      {"traffic_casing", &MapPalette::traffic_casing, 0x939394, 0x454649},
  };
  ASSERT_EQ(entries.size() * sizeof(Color), sizeof(MapPalette));
  const MapPalette light = map_palette(Theme::light());
  const MapPalette dark = map_palette(Theme::dark());
  for (const Entry& e : entries) {
    EXPECT_EQ(rgb_of(light.*e.member), e.light) << "light " << e.name;
    EXPECT_EQ(rgb_of(dark.*e.member), e.dark) << "dark " << e.name;
    EXPECT_EQ(color_to_rgba8(light.*e.member).a, 255) << e.name;
    EXPECT_EQ(color_to_rgba8(dark.*e.member).a, 255) << e.name;
  }
  // Entries taken from the theme are its colours exactly, not requantised.
  EXPECT_EQ(light.route_line, Theme::light().accent);
  EXPECT_EQ(dark.traffic_standstill, Theme::dark().danger);
}

TEST(MapPalette, FollowsTheBackgroundNotTheThemeName) {
  Theme t = Theme::dark();
  t.background = Color::white();
  const MapPalette p = map_palette(t);
  EXPECT_EQ(p.minor_road, Color::white());  // light column
  EXPECT_EQ(p.halo, Color::white());
}

TEST(TrafficColor, IndexesTheFourLevelsInOrder) {
  const MapPalette p = map_palette(Theme::light());
  EXPECT_EQ(traffic_color(p, TrafficLevel::Free), p.traffic_free);
  EXPECT_EQ(traffic_color(p, TrafficLevel::Moderate), p.traffic_moderate);
  EXPECT_EQ(traffic_color(p, TrafficLevel::Heavy), p.traffic_heavy);
  EXPECT_EQ(traffic_color(p, TrafficLevel::Standstill), p.traffic_standstill);
  EXPECT_EQ(traffic_color(p, static_cast<TrafficLevel>(200)), p.traffic_standstill);
}

}  // namespace
}  // namespace maps

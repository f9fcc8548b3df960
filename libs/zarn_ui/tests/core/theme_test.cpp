#include <gtest/gtest.h>

#include <cmath>

#include "zarn_ui/format.hpp"
#include "zarn_ui/i18n.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui {
namespace {

using theme::Theme;

TEST(Theme, BackgroundLuminanceTellsDarkFromLight) {
  EXPECT_GE(theme::luminance8(Theme::light().background), 128.0);
  EXPECT_LT(theme::luminance8(Theme::dark().background), 128.0);
  EXPECT_LT(theme::luminance8(Theme::high_contrast().background), 128.0);
  // Text stands out from the background, more so in high contrast.
  for (const Theme& t : {Theme::light(), Theme::dark(), Theme::high_contrast()}) {
    EXPECT_GT(std::abs(theme::luminance8(t.text) - theme::luminance8(t.background)), 150.0);
  }
  const Theme hc = Theme::high_contrast(), dark = Theme::dark();
  EXPECT_GT(theme::luminance8(hc.text_secondary), theme::luminance8(dark.text_secondary));
  EXPECT_GT(theme::luminance8(hc.border), theme::luminance8(dark.border));
}

// The text colours reach WCAG AA (4.5 : 1) on the surfaces they are drawn on, in every theme.
TEST(Theme, TextColoursStandOutFromSurfaces) {
  for (const Theme& t : {Theme::light(), Theme::dark(), Theme::high_contrast()}) {
    for (const Color& fg : {t.text, t.text_secondary, t.muted, t.foreground}) {
      for (const Color& bg : {t.surface, t.background, t.control}) EXPECT_GE(theme::contrast_ratio(fg, bg), 4.5);
    }
  }
}

TEST(Contrast, RatiosLabelsAndReadableColours) {
  EXPECT_NEAR(theme::contrast_ratio(Color::white(), Color::black()), 21.0, 1e-9);
  EXPECT_NEAR(theme::contrast_ratio(Color::black(), Color::black()), 1.0, 1e-9);
  EXPECT_EQ(theme::composite(Color::white().with_alpha(0.5f), Color::black()), Color::rgba(0.5f, 0.5f, 0.5f, 1.0f));
  // White on the light theme's blue, near black on the dark theme's lighter blue and on the
  // high-contrast yellow.
  EXPECT_EQ(theme::label_on(Theme::light().accent), Color::white());
  for (const Theme& t : {Theme::dark(), Theme::high_contrast()}) {
    EXPECT_NE(theme::label_on(t.accent), Color::white());
    EXPECT_GE(theme::contrast_ratio(theme::label_on(t.accent), t.accent), 4.5);
  }
  // A colour that already reads stays; one that does not moves just far enough, keeping its hue.
  const Theme light = Theme::light();
  EXPECT_EQ(theme::readable_on(light.text, light.surface), light.text);
  const Color tint = theme::composite(light.accent.multiply_alpha(0.18f), light.control);
  const Color moved = theme::readable_on(light.accent, tint);
  EXPECT_GE(theme::contrast_ratio(moved, tint), 4.5);
  EXPECT_LT(theme::contrast_ratio(moved, tint), 5.5);
  EXPECT_GT(moved.b, moved.r);
}

TEST(Theme, TextScale) {
  const Theme t = Theme::dark();
  EXPECT_EQ(t.text_scale, 1.0f);
  EXPECT_EQ(t.with_text_scale(1.5f).text_scale, 1.5f);
  EXPECT_EQ(t.with_text_scale(1.5f).background, t.background);
  EXPECT_EQ(t.with_text_scale(std::nanf("")).text_scale, 1.0f);
  EXPECT_EQ(t.with_text_scale(-2.0f).text_scale, 1.0f);
  EXPECT_EQ(t.with_text_scale(100.0f).text_scale, 4.0f);
  EXPECT_FALSE(t.reduce_motion);
}

TEST(Format, BytesInDecimalUnits) {
  EXPECT_EQ(format::bytes(0), "0 bytes");
  EXPECT_EQ(format::bytes(1), "1 byte");
  EXPECT_EQ(format::bytes(1500), "1.5\u00a0kB");
  EXPECT_EQ(format::bytes(18000ULL * 1200), "21.6\u00a0MB");
}

TEST(Contexts, Trivial) {
  EXPECT_TRUE(presence::PresenceCtx::empty().is_empty());
  EXPECT_TRUE(permissions::PermissionContext::permissive().allows("anything"));
  EXPECT_FALSE(permissions::PermissionContext::restricted().allows("anything"));
  i18n::I18nManager i18n;
  EXPECT_EQ(i18n.lookup("maps.title"), "maps.title");
  i18n.insert("maps.title", "Maps");
  EXPECT_EQ(i18n.lookup("maps.title"), "Maps");
}

}  // namespace
}  // namespace zarn_ui

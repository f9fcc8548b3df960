// The desktop's scale from GDK_SCALE and Xft.dpi, the resource reader, and the theme of a
// colour scheme.

#include "desktop_look.hpp"

#include <gtest/gtest.h>

namespace zarn_ui::launch {
namespace {

TEST(DesktopLook, ScaleFromGdkScaleThenXftDpi) {
  struct Case {
    const char* gdk_scale;
    std::optional<double> dpi;
    double scale;
  };
  const Case cases[] = {
      {nullptr, std::nullopt, 1.0},
      {"", std::nullopt, 1.0},
      {"2", std::nullopt, 2.0},
      {"2", 96.0, 2.0},
      {"1", 192.0, 1.0},
      {nullptr, 192.0, 2.0},
      {nullptr, 144.0, 1.5},
      {"", 120.0, 1.25},
      {"0", 144.0, 1.5},
      {"9", std::nullopt, 1.0},
      {"1.5", 96.0, 1.0},
      {"2x", std::nullopt, 1.0},
      {"-2", std::nullopt, 1.0},
      {nullptr, 1000.0, 4.0},
      {nullptr, 10.0, 0.5},
      {nullptr, 0.0, 1.0},
      {nullptr, -96.0, 1.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(desktop_scale(c.gdk_scale, c.dpi), c.scale)
        << (c.gdk_scale ? c.gdk_scale : "(unset)") << " " << c.dpi.value_or(-1);
  }
}

TEST(DesktopLook, XftDpiIsReadFromItsOwnResourceLine) {
  EXPECT_EQ(xft_dpi_from_resources("Xft.dpi:\t144\n"), 144.0);
  EXPECT_EQ(xft_dpi_from_resources("Xcursor.size:\t24\nXft.antialias:\t1\nXft.dpi: 120.5 \nXft.hinting:\t1\n"), 120.5);
  EXPECT_EQ(xft_dpi_from_resources("Xft.dpi:\t96"), 96.0);  // no final line break
  EXPECT_EQ(xft_dpi_from_resources(""), std::nullopt);
  EXPECT_EQ(xft_dpi_from_resources("Xft.dpi.extra:\t144\n*Xft.dpi:\t144\n"), std::nullopt);
  EXPECT_EQ(xft_dpi_from_resources("Xft.dpi:\tlots\n"), std::nullopt);
  EXPECT_EQ(xft_dpi_from_resources("Xft.dpi:\t0\n"), std::nullopt);
}

TEST(DesktopLook, OnlyADarkPreferenceGivesTheDarkTheme) {
  EXPECT_EQ(theme_for(ColorScheme::Dark), theme::Theme::dark());
  EXPECT_EQ(theme_for(ColorScheme::Light), theme::Theme::light());
  EXPECT_EQ(theme_for(ColorScheme::NoPreference), theme::Theme::light());
}

}  // namespace
}  // namespace zarn_ui::launch

// The desktop's scale from GDK_SCALE and Xft.dpi, the resource reader, the appearance settings
// and the theme of each look.

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

// High contrast wins over the colour scheme (it is the one high-contrast theme); else only a dark
// preference is dark.
TEST(DesktopLook, ThemeOfEveryLook) {
  using theme::Theme;
  struct Case {
    DesktopLook look;
    Theme theme;
  };
  const Case cases[] = {
      {{ColorScheme::NoPreference, Contrast::Normal}, Theme::light()},
      {{ColorScheme::Light, Contrast::Normal}, Theme::light()},
      {{ColorScheme::Dark, Contrast::Normal}, Theme::dark()},
      {{ColorScheme::NoPreference, Contrast::High}, Theme::high_contrast()},
      {{ColorScheme::Light, Contrast::High}, Theme::high_contrast()},
      {{ColorScheme::Dark, Contrast::High}, Theme::high_contrast()},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(theme_for(c.look), c.theme)
        << static_cast<int>(c.look.scheme) << " " << static_cast<int>(c.look.contrast);
  }
}

TEST(DesktopLook, AppearanceSettingsAsThePortalGivesThem) {
  struct Case {
    const char* ns;
    const char* key;
    std::optional<std::uint32_t> value;
    bool applies;
    DesktopLook after;  // from {Dark, High}
  };
  const char* appearance = "org.freedesktop.appearance";
  const Case cases[] = {
      {appearance, "color-scheme", 0u, true, {ColorScheme::NoPreference, Contrast::High}},
      {appearance, "color-scheme", 1u, true, {ColorScheme::Dark, Contrast::High}},
      {appearance, "color-scheme", 2u, true, {ColorScheme::Light, Contrast::High}},
      {appearance, "color-scheme", 3u, true, {ColorScheme::NoPreference, Contrast::High}},
      {appearance, "color-scheme", std::nullopt, true, {ColorScheme::NoPreference, Contrast::High}},
      {appearance, "contrast", 0u, true, {ColorScheme::Dark, Contrast::Normal}},
      {appearance, "contrast", 1u, true, {ColorScheme::Dark, Contrast::High}},
      {appearance, "contrast", 2u, true, {ColorScheme::Dark, Contrast::Normal}},
      {appearance, "contrast", std::nullopt, true, {ColorScheme::Dark, Contrast::Normal}},
      {appearance, "accent-color", 0u, false, {ColorScheme::Dark, Contrast::High}},
      {"org.gnome.desktop.interface", "color-scheme", 2u, false, {ColorScheme::Dark, Contrast::High}},
      {"org.freedesktop.appearance.extra", "contrast", 0u, false, {ColorScheme::Dark, Contrast::High}},
  };
  for (const Case& c : cases) {
    DesktopLook look{ColorScheme::Dark, Contrast::High};
    EXPECT_EQ(apply_appearance_setting(look, c.ns, c.key, c.value), c.applies) << c.ns << " " << c.key;
    EXPECT_EQ(look, c.after) << c.ns << " " << c.key << " " << c.value.value_or(99);
  }
}

}  // namespace
}  // namespace zarn_ui::launch

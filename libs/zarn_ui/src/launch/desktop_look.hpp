#pragma once
// What the desktop asks of the look of a window: light or dark and the contrast (the settings
// portal's appearance settings) and the scale of text and drawing (GDK_SCALE, or the X resource
// Xft.dpi).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zarn_ui/theme.hpp"

struct SDL_Window;

namespace zarn_ui::launch {

enum class ColorScheme : std::uint8_t { NoPreference, Dark, Light };
enum class Contrast : std::uint8_t { Normal, High };

// The settings portal's ("org.freedesktop.appearance", "color-scheme") and (…, "contrast").
struct DesktopLook {
  ColorScheme scheme = ColorScheme::NoPreference;
  Contrast contrast = Contrast::Normal;
  bool operator==(const DesktopLook&) const = default;
};

inline constexpr std::string_view kAppearanceNamespace = "org.freedesktop.appearance";
inline constexpr std::string_view kColorSchemeKey = "color-scheme";
inline constexpr std::string_view kContrastKey = "contrast";

// One appearance setting as the portal gives it (a 32-bit unsigned value; none for a value of
// another type) applied to `look`. False when the setting is none of the look's: the look is
// left as it was. A value the portal does not define counts as no preference.
bool apply_appearance_setting(DesktopLook& look, std::string_view ns, std::string_view key,
                              std::optional<std::uint32_t> value);

// High contrast for a high-contrast preference; else dark for a dark preference; else light.
theme::Theme theme_for(const DesktopLook& look);

// The scale of text and drawing: GDK_SCALE when it is a whole number from 1 to 8; else Xft.dpi
// over 96, held within 0.5 .. 4; else 1.
double desktop_scale(const char* gdk_scale, std::optional<double> xft_dpi);

// The Xft.dpi value of an X resource string (lines "name:\tvalue").
std::optional<double> xft_dpi_from_resources(std::string_view resources);

// The Xft.dpi resource of the X display the window is on; none on other window systems.
std::optional<double> xft_dpi_of(SDL_Window* window);

// The name of the X display the window is on; none on other window systems.
std::optional<std::string> x_display_name_of(SDL_Window* window);

}  // namespace zarn_ui::launch

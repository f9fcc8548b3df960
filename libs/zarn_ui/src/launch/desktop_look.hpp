#pragma once
// What the desktop asks of the look of a window: light or dark (the settings portal's
// colour scheme) and the scale of text and drawing (GDK_SCALE, or the X resource Xft.dpi).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zarn_ui/theme.hpp"

struct SDL_Window;

namespace zarn_ui::launch {

enum class ColorScheme : std::uint8_t { NoPreference, Dark, Light };

// The colour scheme the settings portal gives for ("org.freedesktop.appearance", "color-scheme"):
// ReadOne, or the older Read. NoPreference when there is no bus or no portal, when it answers
// anything else, or when it does not answer within `timeout`, so start-up never waits long.
// An empty `bus_address` means the session bus.
ColorScheme read_color_scheme(const std::string& bus_address, std::chrono::milliseconds timeout);

// Dark for a dark preference; light otherwise.
theme::Theme theme_for(ColorScheme scheme);

// The scale of text and drawing: GDK_SCALE when it is a whole number from 1 to 8; else Xft.dpi
// over 96, held within 0.5 .. 4; else 1.
double desktop_scale(const char* gdk_scale, std::optional<double> xft_dpi);

// The Xft.dpi value of an X resource string (lines "name:\tvalue").
std::optional<double> xft_dpi_from_resources(std::string_view resources);

// The Xft.dpi resource of the X display the window is on; none on other window systems.
std::optional<double> xft_dpi_of(SDL_Window* window);

}  // namespace zarn_ui::launch

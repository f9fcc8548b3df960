#pragma once
// The map's colours, derived from the theme in every frame, and the 8-bit colour arithmetic
// behind them. Mixing happens on bytes so the palette comes out the same from the same theme
// on every machine.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/vector_map.hpp"
#include "zarn_ui/color.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

using zarn_ui::Color;

struct Rgba8 {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
  bool operator==(const Rgba8&) const = default;
};

// floor(c * 255 + 0.5) in 32-bit floats, held to 0..255; NaN gives 0.
std::uint8_t channel_to_rgba8(float c);
Rgba8 color_to_rgba8(const Color& c);
// b * (1/255 as a 32-bit float).
float byte_to_f32(std::uint8_t b);
Color rgba8_to_f32(const Rgba8& c);
// round(t b + (1 - t) a) in 32-bit floats, halves away from zero, held to 0..255.
std::uint8_t blend_channel(std::uint8_t a, std::uint8_t b, float t);
// Each 8-bit channel moves from a toward b by the fraction t.
Color mix_color(const Color& a, const Color& b, float t);
// Six hex digits after any leading '#' characters; opaque.
std::optional<Color> parse_hex_color(std::string_view text);

// Dark when the background's luminance 0.2126 R + 0.7152 G + 0.0722 B (bytes) is below 128.
bool is_dark_background(const zarn_ui::theme::Theme& theme);

struct MapPalette {
  Color land;
  Color block;
  Color block_outline;
  Color park;
  Color park_outline;
  Color water;
  Color minor_road;
  Color road_casing;
  Color secondary_road;
  Color major_road;
  Color route_line;
  Color route_casing;
  Color halo;
  Color grid_ground;
  Color grid_line;
  Color traffic_free;
  Color traffic_moderate;
  Color traffic_heavy;
  Color traffic_standstill;
  Color traffic_casing;
  bool operator==(const MapPalette&) const = default;
};

MapPalette map_palette(const zarn_ui::theme::Theme& theme);

const Color& traffic_color(const MapPalette& palette, TrafficLevel level);

}  // namespace maps

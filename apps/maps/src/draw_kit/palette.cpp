#include "draw_kit/palette.hpp"

#include <cmath>

namespace maps {

std::uint8_t channel_to_rgba8(float c) {
  const float v = std::floor(c * 255.0f + 0.5f);
  if (!(v > 0.0f)) return 0;  // negative, zero or NaN
  if (v >= 255.0f) return 255;
  return static_cast<std::uint8_t>(v);
}

Rgba8 color_to_rgba8(const Color& c) {
  return {channel_to_rgba8(c.r), channel_to_rgba8(c.g), channel_to_rgba8(c.b), channel_to_rgba8(c.a)};
}

float byte_to_f32(std::uint8_t b) {
  constexpr float kInv255 = 1.0f / 255.0f;
  return static_cast<float>(b) * kInv255;
}

Color rgba8_to_f32(const Rgba8& c) { return {byte_to_f32(c.r), byte_to_f32(c.g), byte_to_f32(c.b), byte_to_f32(c.a)}; }

std::uint8_t blend_channel(std::uint8_t a, std::uint8_t b, float t) {
  const float v = std::round(t * static_cast<float>(b) + (1.0f - t) * static_cast<float>(a));
  if (!(v > 0.0f)) return 0;  // negative, zero or NaN
  if (v >= 255.0f) return 255;
  return static_cast<std::uint8_t>(v);
}

Color mix_color(const Color& a, const Color& b, float t) {
  const Rgba8 x = color_to_rgba8(a), y = color_to_rgba8(b);
  return rgba8_to_f32(
      {blend_channel(x.r, y.r, t), blend_channel(x.g, y.g, t), blend_channel(x.b, y.b, t), blend_channel(x.a, y.a, t)});
}

namespace {

std::optional<std::uint8_t> hex_digit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

std::optional<std::uint8_t> hex_byte(std::string_view two) {
  const auto hi = hex_digit(two[0]), lo = hex_digit(two[1]);
  if (!hi || !lo) return std::nullopt;
  return static_cast<std::uint8_t>(*hi * 16 + *lo);
}

}  // namespace

std::optional<Color> parse_hex_color(std::string_view text) {
  while (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  const auto r = hex_byte(text.substr(0, 2)), g = hex_byte(text.substr(2, 2)), b = hex_byte(text.substr(4, 2));
  if (!r || !g || !b) return std::nullopt;
  return rgba8_to_f32({*r, *g, *b, 255});
}

bool is_dark_background(const zarn_ui::theme::Theme& theme) {
  const Rgba8 c = color_to_rgba8(theme.background);
  const double luminance = 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
  return luminance < 128.0;
}

MapPalette map_palette(const zarn_ui::theme::Theme& theme) {
  const Color white = Color::white(), black = Color::black();
  MapPalette p;
  if (is_dark_background(theme)) {
    p.land = mix_color(theme.background, black, 0.28f);
    p.block = mix_color(p.land, white, 0.07f);
    p.block_outline = mix_color(p.land, white, 0.14f);
    p.park = mix_color(p.land, theme.success, 0.22f);
    p.park_outline = mix_color(p.land, theme.success, 0.36f);
    p.water = mix_color(p.land, theme.info, 0.30f);
    p.minor_road = mix_color(p.land, white, 0.22f);
    p.road_casing = mix_color(p.land, black, 0.50f);
    p.secondary_road = mix_color(p.land, theme.warning, 0.34f);
    p.major_road = mix_color(p.land, theme.warning, 0.52f);
    p.route_casing = mix_color(theme.accent, black, 0.45f);
    p.halo = mix_color(p.land, white, 0.90f);
    p.grid_ground = mix_color(p.land, black, 0.18f);
    p.grid_line = mix_color(p.land, white, 0.10f);
    p.traffic_casing = mix_color(p.land, white, 0.22f);
  } else {
    // Light maps take their tints from white, not from land, so they stay bright.
    p.land = mix_color(theme.background, white, 0.94f);
    p.block = mix_color(p.land, black, 0.10f);
    p.block_outline = mix_color(p.land, black, 0.20f);
    p.park = mix_color(white, theme.success, 0.30f);
    p.park_outline = mix_color(white, theme.success, 0.45f);
    p.water = mix_color(white, theme.info, 0.34f);
    p.minor_road = white;
    p.road_casing = mix_color(p.land, black, 0.16f);
    p.secondary_road = mix_color(white, theme.warning, 0.28f);
    p.major_road = mix_color(white, theme.warning, 0.48f);
    p.route_casing = mix_color(theme.accent, white, 0.50f);
    p.halo = white;
    p.grid_ground = mix_color(p.land, black, 0.05f);
    p.grid_line = mix_color(p.land, black, 0.14f);
    p.traffic_casing = mix_color(p.land, black, 0.42f);
  }
  p.route_line = theme.accent;
  p.traffic_free = theme.success;
  p.traffic_moderate = theme.warning;
  p.traffic_heavy = mix_color(theme.warning, theme.danger, 0.55f);
  p.traffic_standstill = theme.danger;
  return p;
}

const Color& traffic_color(const MapPalette& palette, TrafficLevel level) {
  switch (level) {
    case TrafficLevel::Free: return palette.traffic_free;
    case TrafficLevel::Moderate: return palette.traffic_moderate;
    case TrafficLevel::Heavy: return palette.traffic_heavy;
    default: return palette.traffic_standstill;
  }
}

}  // namespace maps

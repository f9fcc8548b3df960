#pragma once
// Colours: four floats in 0..1, not premultiplied.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zarn_ui {

struct Color {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;
  bool operator==(const Color&) const = default;

  static constexpr Color rgba(float r, float g, float b, float a = 1.0f) { return {r, g, b, a}; }
  static constexpr Color from_rgba8(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
  }
  constexpr Color with_alpha(float alpha) const { return {r, g, b, alpha}; }
  constexpr Color multiply_alpha(float k) const { return {r, g, b, a * k}; }

  static constexpr Color transparent() { return {0, 0, 0, 0}; }
  static constexpr Color black() { return {0, 0, 0, 1}; }
  static constexpr Color white() { return {1, 1, 1, 1}; }
};

// One channel in 0..1 to 0..255, rounded; NaN maps to 0 so no undefined cast happens.
inline std::uint8_t channel_to_u8(float v) {
  if (!(v == v)) return 0;
  const float c = std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f;
  return static_cast<std::uint8_t>(c);
}

}  // namespace zarn_ui

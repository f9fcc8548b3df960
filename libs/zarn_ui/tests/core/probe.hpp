#pragma once
// Renders a scene off screen and reads single pixels back.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "zarn_ui/offscreen.hpp"

namespace zarn_ui::testing {

using Rgba = std::array<int, 4>;

struct Frame {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;

  Rgba at(std::uint32_t x, std::uint32_t y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 4;
    return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
  }
};

inline Frame render(const Scene& scene, std::uint32_t w = 64, std::uint32_t h = 64) {
  auto r = offscreen::OffscreenRenderer::create(w, h);
  EXPECT_TRUE(r.is_ok());
  return {w, h, r->render_resilient(scene)};
}

inline constexpr Rgba kClear{0, 0, 0, 0};
inline constexpr Rgba kRed{255, 0, 0, 255};
inline constexpr Rgba kGreen{0, 255, 0, 255};
inline constexpr Rgba kBlue{0, 0, 255, 255};

inline constexpr Color red() { return Color::rgba(1, 0, 0); }
inline constexpr Color green() { return Color::rgba(0, 1, 0); }
inline constexpr Color blue() { return Color::rgba(0, 0, 1); }

}  // namespace zarn_ui::testing

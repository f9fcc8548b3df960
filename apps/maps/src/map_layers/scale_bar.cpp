#include "map_layers/scale_bar.hpp"

#include <array>
#include <cmath>
#include <numbers>

#include <fmt/format.h>

#include "draw_kit/primitives.hpp"

namespace maps {

namespace {

constexpr double kEquatorM = 40075016.68557849;
constexpr std::array<double, 16> kCandidatesM = {1,   2,    5,    10,   20,    50,    100,   200,
                                                 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000};

}  // namespace

ScaleBar scale_bar_length(double latitude_deg, double zoom, double max_width_px) {
  const double m_per_px = std::cos(latitude_deg * std::numbers::pi / 180.0) * kEquatorM / (std::exp2(zoom) * 256.0);
  double metres = 1.0;
  for (double c : kCandidatesM) {
    if (c <= max_width_px * m_per_px) metres = c;
  }
  const long whole = static_cast<long>(metres);  // a candidate, never a computed number
  std::string label = whole < 1000 ? fmt::format("{} m", whole) : fmt::format("{} km", whole / 1000);
  return {std::move(label), metres / m_per_px};
}

Rect paint_scale_bar(Scene& scene, const Affine& transform, const TextRenderer& text, const Rect& bounds, LatLon center,
                     double zoom, const zarn_ui::theme::Theme& theme, double right_x, double max_width) {
  const ScaleBar bar = scale_bar_length(center.lat, zoom, max_width);
  const double r = right_x, l = right_x - bar.length_px, y = bounds.y1 - 26.0;
  const Rect backdrop{l - 8.0, y - 4.0, r + 8.0, y + 14.0};
  fill_rounded_rect(scene, transform, backdrop, theme.background.multiply_alpha(0.7f), 4.0);
  stroke_line(scene, transform, theme.text, l, y, r, y, 2.0);
  stroke_line(scene, transform, theme.text, l, y - 3.0, l, y + 3.0, 2.0);
  stroke_line(scene, transform, theme.text, r, y - 3.0, r, y + 3.0, 2.0);
  draw_text_centered(scene, text, transform, bar.label, theme.text_secondary, l, r, y + 2.0, 10.0f);
  return backdrop;
}

}  // namespace maps

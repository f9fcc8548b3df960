#include "map_layers/map_credit.hpp"

#include <algorithm>
#include <string>

#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"

namespace maps {

namespace {

constexpr float kSize = 9.0f;
constexpr double kStripHeight = 12.0;  // the scale bar's backdrop ends this far above the bottom
constexpr double kPadding = 4.0;
constexpr double kRightMargin = 16.0;
constexpr double kMinRoom = 40.0;

}  // namespace

std::optional<Rect> paint_map_credit(Scene& scene, const Affine& transform, const TextRenderer& text,
                                     const Rect& bounds, double left, const zarn_ui::theme::Theme& theme) {
  const double right = bounds.x1 - kRightMargin;
  const double room = right - left - 2.0 * kPadding;
  if (!(room >= kMinRoom)) return std::nullopt;
  const std::string shown = ellipsize_text(text, kMapCreditText, kSize, room);
  const double w = std::min(measure_text(text, shown, kSize), room);
  const Rect strip{right - w - 2.0 * kPadding, bounds.y1 - kStripHeight, right, bounds.y1};
  fill_rounded_rect(scene, transform, strip, theme.background.multiply_alpha(0.85f), 4.0);
  draw_label(scene, text, transform, shown, theme.text_secondary, strip.x0 + kPadding,
             strip.y0 + (kStripHeight - 1.25 * kSize) / 2.0, kSize);
  return strip;
}

}  // namespace maps

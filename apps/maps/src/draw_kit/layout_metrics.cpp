#include "draw_kit/layout_metrics.hpp"

#include <algorithm>
#include <cmath>

namespace maps {

bool is_narrow_layout(const Rect& bounds) {
  const double w = bounds.width();
  return !std::isnan(w) && w < kNarrowLayoutBelow;
}

double side_panel_width(const Rect& bounds) {
  const double w = bounds.width();
  if (is_narrow_layout(bounds)) return std::min(w - 32.0, 384.0);
  return std::clamp(0.42 * w, 300.0, 384.0);
}

Rect search_box_rect(const Rect& b) {
  const double y0 = b.y0 + kLayoutMargin, y1 = y0 + kSearchBoxHeight;
  if (is_narrow_layout(b)) {
    const double x0 = b.x0 + 66.0;
    return {x0, y0, std::max(b.x1 - 66.0, x0 + 120.0), y1};
  }
  return {b.x0 + kLayoutMargin, y0, b.x0 + kLayoutMargin + side_panel_width(b), y1};
}

std::optional<Rect> menu_button_rect(const Rect& b) {
  if (!is_narrow_layout(b)) return std::nullopt;
  return Rect{b.x0 + 16.0, b.y0 + 16.0, b.x0 + 56.0, b.y0 + 64.0};
}

Rect side_panel_rect(const Rect& b) {
  return {b.x0 + kLayoutMargin, b.y0 + 74.0, b.x0 + kLayoutMargin + side_panel_width(b), b.y1 - kLayoutMargin};
}

}  // namespace maps

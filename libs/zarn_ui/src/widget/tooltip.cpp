// Placement and drawing of the hover tooltip.

#include <algorithm>

#include "zarn_ui/text_widget.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/tooltip.hpp"

namespace zarn_ui::widgets {
namespace {

using text_render::TextRenderer;

constexpr float kSize = 12.0f;
constexpr double kPadX = 8.0;
constexpr double kPadY = 5.0;
constexpr double kGap = 6.0;
constexpr double kMargin = 4.0;
constexpr double kRadius = 6.0;
constexpr std::size_t kMaxLines = 4;

bool inside(const Rect& r, const Rect& bounds) {
  return r.x0 >= bounds.x0 + kMargin && r.y0 >= bounds.y0 + kMargin && r.x1 <= bounds.x1 - kMargin &&
         r.y1 <= bounds.y1 - kMargin;
}

// `r` moved along one axis so that it lies inside the bounds on that axis, where it can.
Rect shifted(const Rect& r, const Rect& bounds, bool horizontally) {
  const double lo = (horizontally ? bounds.x0 : bounds.y0) + kMargin;
  const double hi = (horizontally ? bounds.x1 : bounds.y1) - kMargin;
  const double a = horizontally ? r.x0 : r.y0, len = horizontally ? r.width() : r.height();
  const double d = std::max(std::min(a, hi - len), lo) - a;
  return horizontally ? r.translate({d, 0}) : r.translate({0, d});
}

}  // namespace

Rect tooltip_rect(const Rect& anchor, double label_width, const Rect& bounds, std::size_t lines) {
  const double w = label_width + 2.0 * kPadX;
  const double h =
      static_cast<double>(std::max<std::size_t>(lines, 1)) * TextRenderer::line_height(kSize) + 2.0 * kPadY;
  const Point c = anchor.center();
  const Rect below{c.x - w / 2.0, anchor.y1 + kGap, c.x + w / 2.0, anchor.y1 + kGap + h};
  const Rect left{anchor.x0 - kGap - w, c.y - h / 2.0, anchor.x0 - kGap, c.y + h / 2.0};
  const Rect above{c.x - w / 2.0, anchor.y0 - kGap - h, c.x + w / 2.0, anchor.y0 - kGap};
  for (const Rect& r : {shifted(below, bounds, true), shifted(left, bounds, false), shifted(above, bounds, true)}) {
    if (inside(r, bounds)) return r;
  }
  // Pushed inside, the left and top edges winning when the bounds are too small.
  return shifted(shifted(below, bounds, true), bounds, false);
}

void draw_hover_tooltip(Scene& scene, const Affine& transform, const TextRenderer& text, const theme::Theme& theme,
                        const Rect& anchor, std::string_view label, const Rect& bounds) {
  if (label.empty() || !anchor.is_finite() || !bounds.is_finite()) return;
  const double room = std::max(bounds.width() - 2.0 * (kMargin + kPadX), 0.0);
  std::vector<std::string> lines{std::string(label)};
  if (text.measure(label, kSize) > room) {
    lines = wrap_text(label, text, kSize, room);
    // What does not fit on the last line is cut short there.
    for (std::size_t i = kMaxLines; i < lines.size(); ++i) lines[kMaxLines - 1] += " " + lines[i];
    if (lines.size() > kMaxLines) lines.resize(kMaxLines);
  }
  double w = 0.0;
  for (const std::string& l : lines) w = std::max(w, std::min(text.measure(l, kSize), room));
  const Rect r = tooltip_rect(anchor, w, bounds, lines.size());
  scene.fill(RoundedRect::make(r, kRadius), theme.foreground.multiply_alpha(0.94f), transform);
  double y = r.y0 + kPadY;
  for (const std::string& l : lines) {
    text.draw_text(scene, transform * Affine::translate(r.x0 + kPadX, y), l, kSize, theme.surface, room);
    y += TextRenderer::line_height(kSize);
  }
}

}  // namespace zarn_ui::widgets

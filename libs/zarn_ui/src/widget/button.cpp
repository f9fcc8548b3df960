// The framework's button painters.

#include "zarn_ui/button.hpp"

#include <algorithm>

#include "zarn_ui/theme.hpp"

namespace zarn_ui::widgets {
namespace {

using text_render::TextRenderer;

constexpr double kRingGap = 2.0;
constexpr double kRingWidth = 2.0;
constexpr float kActionLabelSize = 13.0f;
constexpr double kActionRadius = 9.0;
constexpr double kLabelInset = 8.0;

bool drawable(const Rect& r) { return r.is_finite() && r.width() > 0.0 && r.height() > 0.0; }

// `s` centred on the rectangle, shortened to its width less the insets.
void centred_text(Scene& scene, const Affine& transform, const TextRenderer& text, const Rect& r, std::string_view s,
                  float size, FontWeight weight, const Color& color) {
  const double room = std::max(r.width() - 2.0 * kLabelInset, 0.0);
  const double w = std::min(text.measure_weighted(s, size, weight), room);
  const double x = r.center().x - w / 2.0;
  const double y = r.center().y - TextRenderer::line_height(size) / 2.0;
  text.draw_text_weighted(scene, transform * Affine::translate(x, y), s, size, color, weight, room);
}

// White on dark fills, near-black on light ones (the high-contrast accent is yellow).
void focus_ring(Scene& scene, const Affine& transform, const Rect& r, double radius, const Color& color) {
  scene.stroke(RoundedRect::make(r.inflate(kRingGap, kRingGap), radius + kRingGap), color, kRingWidth, transform);
}

}  // namespace

void Button::paint(Scene& scene, const Affine& transform, const TextRenderer& text, const theme::Theme& theme) const {
  if (!drawable(rect)) return;
  const Rect shadow{rect.x0 - 1.0, rect.y0 + 3.0, rect.x1 + 1.0, rect.y1 + 5.0};
  scene.fill(RoundedRect::make(shadow, corner_radius + 1.0), theme.shadow.multiply_alpha(0.5f), transform);
  const auto card = RoundedRect::make(rect, corner_radius);
  scene.fill(card, hovered ? theme.hover : theme.surface, transform);
  scene.stroke(card, theme.border, 1.0, transform);
  const std::string_view shown = glyph.empty() ? label : glyph;
  const float size = glyph.empty() ? kActionLabelSize : glyph_size;
  centred_text(scene, transform, text, rect, shown, size, FontWeight::Normal, theme.text);
  if (focused) focus_ring(scene, transform, rect, corner_radius, theme.focus);
}

void draw_action_button(Scene& scene, const Affine& transform, const TextRenderer& text, const theme::Theme& theme,
                        const Rect& rect, std::string_view label, bool primary, bool focused) {
  if (!drawable(rect)) return;
  const auto shape = RoundedRect::make(rect, kActionRadius);
  if (primary) {
    scene.fill(shape, theme.accent, transform);
  } else {
    scene.fill(shape, theme.control, transform);
    scene.stroke(shape, theme.border, 1.0, transform);
  }
  centred_text(scene, transform, text, rect, label, kActionLabelSize, FontWeight::Semibold,
               primary ? theme::label_on(theme.accent) : theme.text);
  if (focused) focus_ring(scene, transform, rect, kActionRadius, theme.focus);
}

}  // namespace zarn_ui::widgets

// Drawing of the single-line text field, and the caret position under a pointer.

#include <algorithm>
#include <cmath>

#include "text_edit.hpp"
#include "zarn_ui/text_input.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::widgets {
namespace {

using text_render::TextRenderer;

constexpr double kCaretWidth = 1.5;
constexpr float kSelectionAlpha = 0.3f;

// The axis-aligned bounds of a rectangle after a transform.
Rect transformed_bounds(const Affine& t, const Rect& r) {
  const Point a = t.apply({r.x0, r.y0}), b = t.apply({r.x1, r.y0}), c = t.apply({r.x0, r.y1}),
              d = t.apply({r.x1, r.y1});
  return {std::min({a.x, b.x, c.x, d.x}), std::min({a.y, b.y, c.y, d.y}), std::max({a.x, b.x, c.x, d.x}),
          std::max({a.y, b.y, c.y, d.y})};
}

}  // namespace

float TextInput::drawn_size(float text_scale) const {
  float size = text_size.value_or(kDefaultTextSize);
  if (!std::isfinite(size) || size <= 0.0f) size = kDefaultTextSize;
  if (std::isfinite(text_scale) && text_scale > 0.0f) size *= text_scale;
  const double h = rect_.height();
  if (std::isfinite(h) && h > 0.0) size = std::min(size, static_cast<float>(h / 1.25));
  return std::clamp(size, 1.0f, TextRenderer::kMaxSize);
}

Point TextInput::text_origin() const {
  const double line = TextRenderer::line_height(measured_size_);
  return {rect_.x0 + kPadding - scroll_, rect_.y0 + (rect_.height() - line) / 2.0};
}

std::size_t TextInput::offset_at(double x) const {
  if (!measurer_) return text_.size();
  // The renderer knows where each caret position lies in the line as laid out, right-to-left
  // runs included.
  return text_edit::snap(text_, measurer_->index_at(text_, measured_size_, x - text_origin().x));
}

void TextInput::draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) {
  settle();
  measurer_ = ctx.text;
  measured_size_ = drawn_size(ctx.theme.text_scale);
  const float size = measured_size_;
  const Rect r = rect_;
  if (!r.is_finite() || !(r.width() > 0.0 && r.height() > 0.0)) return;
  const theme::Theme& theme = ctx.theme;
  const double line = TextRenderer::line_height(size);
  const double top = r.y0 + (r.height() - line) / 2.0;
  const double left = r.x0 + kPadding;
  const double room = std::max(r.width() - 2.0 * kPadding, 0.0);

  if (!focused) {
    // An inactive field shows the start of its text, shortened, and no caret or selection.
    scroll_ = 0.0;
    const bool empty = text_.empty();
    ctx.text.draw_text(scene, transform * Affine::translate(left, top), empty ? placeholder_ : text_, size,
                       empty ? theme.muted : theme.text, room);
    return;
  }

  // The line as shown: the composition stands in for the selection until it is committed.
  const auto [from, to] = selection();
  std::string shown;
  std::size_t caret_at = caret_;
  if (!composition_.empty()) {
    shown.append(text_, 0, from).append(composition_).append(text_, to, std::string::npos);
    caret_at = from + composition_cursor_;
  } else {
    shown = text_;
  }
  // Caret positions as the line is laid out: in right-to-left text a later character stands to
  // the left. Such a line keeps to the field's right edge while it fits, as it does when shown
  // unfocused, so it does not jump when the field takes or loses the focus.
  const auto x_of = [&](std::size_t bytes) { return ctx.text.caret_x(shown, size, bytes); };
  const double caret_x = x_of(caret_at);
  const double full = ctx.text.measure(shown, size);
  if (full <= room) {
    scroll_ = ctx.text.right_to_left(shown) ? full - room : 0.0;
  } else {
    if (caret_x - scroll_ > room) scroll_ = caret_x - room;
    if (caret_x < scroll_) scroll_ = caret_x;
    scroll_ = std::clamp(scroll_, 0.0, full - room);
  }
  const double x0 = left - scroll_;

  scene.push_layer(r, transform);
  if (composition_.empty() && from != to) {
    const double a = x_of(from), b = x_of(to);
    scene.fill(Rect{x0 + std::min(a, b), top, x0 + std::max(a, b), top + line},
               theme.accent.multiply_alpha(kSelectionAlpha), transform);
  }
  if (shown.empty()) {
    ctx.text.draw_text(scene, transform * Affine::translate(left, top), placeholder_, size, theme.muted, room);
  } else {
    ctx.text.draw_text(scene, transform * Affine::translate(x0, top), shown, size, theme.text);
  }
  if (!composition_.empty()) {
    const double y = top + line - 1.5;
    const double a = x_of(from), b = x_of(from + composition_.size());
    scene.stroke(Line{{x0 + std::min(a, b), y}, {x0 + std::max(a, b), y}}, theme.text, 1.0, transform);
  }
  const Rect caret{x0 + caret_x - kCaretWidth / 2.0, top + 0.12 * line, x0 + caret_x + kCaretWidth / 2.0,
                   top + 0.88 * line};
  scene.fill(caret, theme.accent, transform);
  scene.pop_layer();
  if (ctx.text_input) ctx.text_input->caret = transformed_bounds(transform, caret);
}

}  // namespace zarn_ui::widgets

// The pop-up menu: keys, pointer and drawing.

#include "zarn_ui/context_menu.hpp"

#include <algorithm>

#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::widgets {
namespace {

using widget::Key;
using widget::MouseButton;
using widget::MouseButtonEvent;
using widget::NamedKey;

constexpr double kRadius = 10.0;
constexpr double kRowRadius = 6.0;
constexpr float kLabelSize = 13.0f;
constexpr double kTextInset = 12.0;

}  // namespace

void ContextMenu::open_at(Point p) {
  open_ = true;
  anchor_ = p;
  highlighted_.reset();
  pointer_.reset();
}

void ContextMenu::close() {
  open_ = false;
  highlighted_.reset();
}

std::optional<std::size_t> ContextMenu::item_at(Point p) const {
  const Rect r = rect();
  if (!r.contains(p) || p.y < r.y0 + kPadding) return std::nullopt;
  const auto row = static_cast<std::size_t>((p.y - r.y0 - kPadding) / kRowHeight);
  if (row >= items_.size()) return std::nullopt;
  return row;
}

void ContextMenu::choose_and_close(std::size_t index) {
  choose(index);
  close();
}

bool ContextMenu::handle_event(const widget::Event& event, const EventCtx& ctx) {
  if (!open_) return false;
  if (const auto* moved = std::get_if<widget::PointerMoved>(&event)) {
    pointer_ = moved->position * ctx.inverse_scale();
    if (const auto row = item_at(*pointer_)) highlighted_ = row;
    return false;
  }
  if (std::holds_alternative<widget::PointerLeft>(event)) {
    pointer_.reset();
    return false;
  }
  if (const auto* button = std::get_if<MouseButtonEvent>(&event)) {
    if (!button->pressed || button->button != MouseButton::Primary) return false;
    const std::optional<std::size_t> row = pointer_ ? item_at(*pointer_) : std::nullopt;
    if (row) {
      choose_and_close(*row);
    } else if (!pointer_ || !rect().contains(*pointer_)) {
      close();
    }
    return true;
  }
  const auto* key = std::get_if<Key>(&event);
  if (!key) return false;
  if (!key->pressed) return true;
  const std::size_t n = items_.size();
  if (key->is(NamedKey::Escape)) {
    close();
  } else if (n > 0 && (key->is(NamedKey::ArrowDown) || key->is(NamedKey::ArrowUp))) {
    const bool down = key->is(NamedKey::ArrowDown);
    if (!highlighted_) {
      highlighted_ = down ? 0 : n - 1;
    } else {
      highlighted_ = down ? (*highlighted_ + 1) % n : (*highlighted_ + n - 1) % n;
    }
  } else if (n > 0 && key->is(NamedKey::Home)) {
    highlighted_ = 0;
  } else if (n > 0 && key->is(NamedKey::End)) {
    highlighted_ = n - 1;
  } else if (key->is(NamedKey::Enter) || key->is(NamedKey::Space) || (key->text() && *key->text() == " ")) {
    if (highlighted_) choose_and_close(*highlighted_);
  }
  return true;
}

void ContextMenu::draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) const {
  if (!open_) return;
  const theme::Theme& theme = ctx.theme;
  const Rect r = rect();
  const Rect shadow{r.x0 - 1.0, r.y0 + 3.0, r.x1 + 1.0, r.y1 + 5.0};
  scene.fill(RoundedRect::make(shadow, kRadius + 1.0), theme.shadow.multiply_alpha(0.4f), transform);
  const auto card = RoundedRect::make(r, kRadius);
  scene.fill(card, theme.surface, transform);
  scene.stroke(card, theme.border, 1.0, transform);
  const double room = std::max(kWidth - 2.0 * (kPadding + kTextInset), 0.0);
  const double text_dy = (kRowHeight - text_render::TextRenderer::line_height(kLabelSize)) / 2.0;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const double y0 = r.y0 + kPadding + kRowHeight * static_cast<double>(i);
    const Rect row{r.x0 + kPadding, y0, r.x1 - kPadding, y0 + kRowHeight};
    if (highlighted_ == i) scene.fill(RoundedRect::make(row, kRowRadius), theme.hover, transform);
    ctx.text.draw_text(scene, transform * Affine::translate(row.x0 + kTextInset, y0 + text_dy), items_[i].label,
                       kLabelSize, theme.text, room);
  }
}

}  // namespace zarn_ui::widgets

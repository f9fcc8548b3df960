// Drawing of the autocomplete field and its dropdown.

#include <algorithm>

#include "zarn_ui/autocomplete.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::widgets {
namespace {

using text_render::TextRenderer;

constexpr double kBoxRadius = 10.0;
constexpr double kRowRadius = 6.0;
constexpr float kLabelSize = 13.0f;
constexpr float kDetailSize = 11.0f;
constexpr double kTextInset = 10.0;

}  // namespace

void Autocomplete::draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) {
  input_.text_size = text_size;
  input_.focused = editing_;
  const theme::Theme& theme = ctx.theme;
  if (rect_.is_finite() && rect_.width() > 0.0 && rect_.height() > 0.0) {
    const auto box = RoundedRect::make(rect_, kBoxRadius);
    scene.fill(box, theme.background, transform);
    scene.stroke(box, editing_ ? theme.focus : theme.border, 1.0, transform);
  }
  input_.draw(scene, transform, ctx);
}

void Autocomplete::draw_overlay(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx) {
  const auto list = dropdown_rect();
  if (!list || !list->is_finite() || list->width() <= 0.0) return;
  const theme::Theme& theme = ctx.theme;
  const Rect shadow{list->x0 - 1.0, list->y0 + 3.0, list->x1 + 1.0, list->y1 + 5.0};
  scene.fill(RoundedRect::make(shadow, kBoxRadius + 1.0), theme.shadow.multiply_alpha(0.4f), transform);
  const auto card = RoundedRect::make(*list, kBoxRadius);
  scene.fill(card, theme.surface, transform);
  scene.stroke(card, theme.border, 1.0, transform);

  const double h = row_height();
  const double top = list->y0 + kListPadding;
  const double label_room = std::max(list->width() - 2.0 * kListPadding - 2.0 * kTextInset, 0.0);
  for (std::size_t i = 0; i < shown_rows(); ++i) {
    const ListItem& item = items_[i];
    const double y0 = top + h * static_cast<double>(i);
    const Rect row{list->x0 + kListPadding, y0, list->x1 - kListPadding, y0 + h};
    if (highlighted_ == i) scene.fill(RoundedRect::make(row, kRowRadius), theme.hover, transform);
    const double x = row.x0 + kTextInset;
    if (item.detail.empty()) {
      const double y = y0 + (h - TextRenderer::line_height(kLabelSize)) / 2.0;
      ctx.text.draw_text(scene, transform * Affine::translate(x, y), item.label, kLabelSize, theme.text, label_room);
    } else {
      ctx.text.draw_text(scene, transform * Affine::translate(x, y0 + 6.0), item.label, kLabelSize, theme.text,
                         label_room);
      ctx.text.draw_text(scene, transform * Affine::translate(x, y0 + 25.0), item.detail, kDetailSize,
                         theme.text_secondary, label_room);
    }
  }
}

}  // namespace zarn_ui::widgets

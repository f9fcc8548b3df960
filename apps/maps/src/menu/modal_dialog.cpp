#include "menu/modal_dialog.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "zarn_ui/button.hpp"
#include "zarn_ui/layout.hpp"

namespace maps {

using zarn_ui::Point;
using zarn_ui::Rect;
using zarn_ui::widget::Key;
using zarn_ui::widget::MouseButton;
using zarn_ui::widget::MouseButtonEvent;
using zarn_ui::widget::NamedKey;
using zarn_ui::widget::PointerMoved;

namespace {

constexpr double kButtonGap = 8.0;
constexpr double kButtonInset = 16.0;
constexpr double kButtonBottom = 8.0;
constexpr float kScrimAlpha = 0.7f;

// Larger text makes a larger panel and header; the buttons keep their size.
double text_scale_of(const zarn_ui::theme::Theme& theme) {
  return std::isfinite(theme.text_scale) && theme.text_scale > 1.0f ? theme.text_scale : 1.0;
}

bool has_area(const Rect& r) { return r.is_finite() && r.width() > 0.0 && r.height() > 0.0; }

// Left and top edges inside, right and bottom outside.
bool inside(const Rect& r, Point p) { return r.x0 <= p.x && p.x < r.x1 && r.y0 <= p.y && p.y < r.y1; }

void run(const std::function<void()>& callback) {
  if (callback) callback();
}

}  // namespace

ModalDialog ModalDialog::create(std::string title, zarn_ui::widgets::Text body) {
  ModalDialog d;
  d.title_ = std::move(title);
  d.body_ = std::move(body);
  return d;
}

ModalDialog ModalDialog::with_primary(std::string label, std::shared_ptr<bool> flag) && {
  primary_ = DialogButton{std::move(label), [flag = std::move(flag)] { *flag = true; }};
  return std::move(*this);
}

ModalDialog ModalDialog::with_dismiss(std::shared_ptr<bool> flag) && {
  dismiss_ = [flag = std::move(flag)] { *flag = true; };
  return std::move(*this);
}

void ModalDialog::layout_modal_dialog() {
  const Rect& b = bounds_;
  if (!(b.width() > 0.0) || !(b.height() > 0.0)) return;
  const double s = text_scale_of(theme_);
  const double w = std::min(size_.width * s, b.width()), h = std::min(size_.height * s, b.height());
  const double x0 = b.x0 + (b.width() - w) / 2.0, y0 = b.y0 + (b.height() - h) / 2.0;
  panel_ = {x0, y0, x0 + w, y0 + h};
  const double top = panel_.y1 - kButtonBottom - kButtonHeight, bottom = panel_.y1 - kButtonBottom;
  const double right = panel_.x1 - kButtonInset;
  primary_rect_ = {right - kButtonWidth, top, right, bottom};
  const double left_end = primary_rect_.x0 - kButtonGap;
  secondary_rect_ = {left_end - kButtonWidth, top, left_end, bottom};
}

void ModalDialog::layout_dialog_text(const zarn_ui::theme::Theme& theme, const zarn_ui::text_render::TextRenderer&) {
  const double pad = theme.spacing;
  const Rect& p = panel_;
  const double header = kHeaderHeight * text_scale_of(theme);
  const Rect area{p.x0 + pad, p.y0 + header, std::max(p.x1 - pad, p.x0 + pad),
                  std::max(p.y1 - kButtonBand, p.y0 + header)};
  if (!has_area(p) || !has_area(area)) {
    // A body laid out for a larger panel must not be drawn outside this one.
    body_node_.reset();
    return;
  }
  auto tree = zarn_ui::layout::LayoutTree::with_capacity(16);
  zarn_ui::layout::NodeWidgetMap widgets;
  const auto node = body_.build_layout(tree, theme, widgets);
  if (!node || !tree.compute(*node, static_cast<float>(area.width()), static_cast<float>(area.height()))) {
    body_node_.reset();
    return;
  }
  body_.apply_layout(tree, *node, {area.x0, area.y0});
  body_node_ = *node;
}

void ModalDialog::prepare(const Rect& bounds, const zarn_ui::theme::Theme& theme,
                          const zarn_ui::text_render::TextRenderer& text) {
  theme_ = theme;
  bounds_ = bounds;
  layout_modal_dialog();
  layout_dialog_text(theme, text);
}

void ModalDialog::paint(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  if (!open_) return;
  theme_ = ctx.theme;
  layout_dialog_text(theme_, ctx.text);
  scene.fill(bounds_, zarn_ui::Color::black().with_alpha(kScrimAlpha), transform);
  const auto panel = zarn_ui::RoundedRect::make(panel_, theme_.corner_radius);
  scene.fill(panel, theme_.surface, transform);
  scene.stroke(panel, theme_.border, 1.0, transform);
  const double s = text_scale_of(theme_);
  const float title_size = static_cast<float>(theme_.title_size * s);
  const double room = std::max(panel_.width() - 2.0 * theme_.spacing, 0.0);
  ctx.text.draw_text(scene,
                     transform * zarn_ui::Affine::translate(panel_.x0 + theme_.spacing,
                                                            panel_.y0 + (kHeaderHeight * s - title_size) / 2.0),
                     title_, title_size, theme_.foreground, room);
  if (body_node_) body_.draw(scene, transform, ctx);
  if (primary_) {
    zarn_ui::widgets::draw_action_button(scene, transform, ctx.text, theme_, primary_rect_, primary_->label, true,
                                         false);
  }
  if (secondary_) {
    zarn_ui::widgets::draw_action_button(scene, transform, ctx.text, theme_, secondary_rect_, secondary_->label, false,
                                         false);
  }
}

bool ModalDialog::route_modal_event(const zarn_ui::widget::Event& event, double scale) {
  if (!open_) return false;
  if (const auto* key = std::get_if<Key>(&event)) {
    if (key->pressed) {
      if (key->is(NamedKey::Escape)) {
        run(dismiss_);
      } else if (key->is(NamedKey::Enter) && primary_) {
        run(primary_->callback);
      }
    }
    return true;
  }
  if (const auto* moved = std::get_if<PointerMoved>(&event)) {
    const double s = scale > 0.0 && scale < 1e6 ? scale : 1.0;
    pointer_ = {moved->position.x / s, moved->position.y / s};
    return false;
  }
  if (const auto* button = std::get_if<MouseButtonEvent>(&event)) {
    if (!button->pressed || button->button != MouseButton::Primary) return true;
    if (primary_ && inside(primary_rect_, pointer_)) {
      run(primary_->callback);
    } else if (secondary_ && inside(secondary_rect_, pointer_)) {
      run(secondary_->callback);
    } else if (!inside(panel_, pointer_)) {
      run(dismiss_);
    }
    return true;
  }
  return false;
}

}  // namespace maps

#pragma once
// A modal dialog over the whole window: a title, a block of body text and up to two buttons,
// with a dismiss action for Escape and for a press outside its panel. The application lays it
// out, paints it and feeds it events; its buttons run callbacks the caller gave it.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/text_widget.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

struct DialogButton {
  std::string label;
  std::function<void()> callback;
};

class ModalDialog {
 public:
  static constexpr double kHeaderHeight = 48.0;
  static constexpr double kButtonBand = 56.0;
  static constexpr double kButtonWidth = 110.0;
  static constexpr double kButtonHeight = 40.0;

  // Closed, 480 x 320, on the dark theme until it is prepared with the window's.
  static ModalDialog create(std::string title, zarn_ui::widgets::Text body);
  // The right-hand button; pressing it (or Enter) raises `flag`.
  ModalDialog with_primary(std::string label, std::shared_ptr<bool> flag) &&;
  // Escape and a press outside the panel raise `flag`.
  ModalDialog with_dismiss(std::shared_ptr<bool> flag) &&;

  // The panel centred in the bounds and never larger than they are, and the two button slots.
  // Larger text (the theme's text scale) makes the panel and its header larger by as much.
  void layout_modal_dialog();
  // Lays the body out in the panel between the header and the button band.
  void layout_dialog_text(const zarn_ui::theme::Theme& theme, const zarn_ui::text_render::TextRenderer& text);
  // Before every paint: the window's theme and bounds, then both layouts.
  void prepare(const zarn_ui::Rect& bounds, const zarn_ui::theme::Theme& theme,
               const zarn_ui::text_render::TextRenderer& text);
  // The scrim, the panel, the title, the body and the buttons; nothing while closed.
  void paint(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx);
  // True when the dialog used the event; nothing happens while it is closed.
  bool route_modal_event(const zarn_ui::widget::Event& event, double scale);

  const std::string& title() const { return title_; }
  const zarn_ui::widgets::Text& body() const { return body_; }
  bool body_laid_out() const { return body_node_.has_value(); }
  const std::optional<DialogButton>& primary() const { return primary_; }
  const std::optional<DialogButton>& secondary() const { return secondary_; }
  bool has_dismiss() const { return static_cast<bool>(dismiss_); }
  const zarn_ui::Rect& bounds() const { return bounds_; }
  const zarn_ui::Rect& panel_rect() const { return panel_; }
  const zarn_ui::Rect& primary_rect() const { return primary_rect_; }
  const zarn_ui::Rect& secondary_rect() const { return secondary_rect_; }
  zarn_ui::Point pointer() const { return pointer_; }
  bool is_open() const { return open_; }

  void set_open(bool open) { open_ = open; }
  void set_bounds(const zarn_ui::Rect& bounds) { bounds_ = bounds; }
  void set_size(zarn_ui::Size size) { size_ = size; }

 private:
  std::string title_;
  zarn_ui::widgets::Text body_;
  zarn_ui::theme::Theme theme_ = zarn_ui::theme::Theme::dark();
  std::optional<DialogButton> primary_;
  std::optional<DialogButton> secondary_;
  std::function<void()> dismiss_;
  zarn_ui::Rect bounds_;
  zarn_ui::Size size_{480.0, 320.0};
  zarn_ui::Rect panel_;
  zarn_ui::Rect primary_rect_;
  zarn_ui::Rect secondary_rect_;
  zarn_ui::Point pointer_;
  bool open_ = false;
  // Set while the body has a place of its own in the panel; a panel too small for it shows none.
  std::optional<zarn_ui::layout::NodeId> body_node_;
};

}  // namespace maps

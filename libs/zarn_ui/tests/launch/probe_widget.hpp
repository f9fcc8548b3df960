#pragma once
// A widget that records what the window loop hands it: ticks, draws, the theme and device scale
// it is painted with, its bounds, and the pointer, keys and scale of its events.

#include <optional>
#include <string>

#include "zarn_ui/layout.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::launch::testing_support {

class ProbeWidget : public widget::Widget {
 public:
  void tick(state::State&) override { ++ticks; }
  std::optional<layout::NodeId> build_layout(layout::LayoutTree& tree, const theme::Theme&,
                                             layout::NodeWidgetMap& map) override {
    layout::Style s;
    s.size = {layout::Dimension::percent(1), layout::Dimension::percent(1)};
    auto n = tree.new_leaf(s);
    if (!n) return std::nullopt;
    map.insert(*n, this);
    return *n;
  }
  void apply_layout(const layout::LayoutTree& tree, layout::NodeId node, Point origin) override {
    auto l = tree.layout(node);
    if (l) bounds_ = Rect{origin.x + l->left, origin.y + l->top, origin.x + l->left + l->width, origin.y + l->height};
  }
  void draw(Scene& scene, const Affine& t, const widget::PaintCtx& ctx) override {
    ++draws;
    painted_background = ctx.theme.background;
    painted_scale = ctx.device_scale;
    scene.fill(bounds_, Color::rgba(0.2f, 0.4f, 0.8f), t);
  }
  void handle_event(const widget::Event& e, std::uint32_t mods, state::State&, bool& handled, double scale) override {
    handled = true;
    last_scale = scale;
    if (const auto* m = std::get_if<widget::PointerMoved>(&e)) last_pointer = m->position * (1.0 / scale);
    if (const auto* k = std::get_if<widget::Key>(&e)) {
      if (k->pressed && k->text()) typed += *k->text();
      if (k->pressed && k->is(widget::NamedKey::Escape)) ++escapes;
      last_mods = mods;
    }
    if (const auto* b = std::get_if<widget::MouseButtonEvent>(&e)) {
      if (b->pressed && b->button == widget::MouseButton::Primary) {
        ++presses;
        pressed_at = last_pointer;
      }
    }
  }
  bool needs_frame() const override { return wants_frames; }
  Rect bounds() const override { return bounds_; }

  int ticks = 0, draws = 0, presses = 0, escapes = 0;
  std::string typed;
  std::uint32_t last_mods = 0;
  Point last_pointer;
  // Where the pointer was at the last primary press: the display's own pointer may move later
  // (other programs share the test display), the press stays where it was sent.
  Point pressed_at;
  double last_scale = 0;
  Color painted_background;
  double painted_scale = 0;
  bool wants_frames = true;
  Rect bounds_;
};

}  // namespace zarn_ui::launch::testing_support

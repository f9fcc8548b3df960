#include "navigation/navigation_input.hpp"

#include <cmath>
#include <variant>

#include "navigation/navigation_steps.hpp"

namespace maps {
namespace {

// End, then the grip, where the panel was last painted.
NavigationReply press_on_panel(NavigationPanel& panel, const NavigationInputs& in, zarn_ui::Point p) {
  if (panel.on_end(p)) {
    panel.clear_end_hover();
    return {true, UiMessage{msg::ClearRoute{}}};
  }
  if (panel.on_grip(p)) {
    panel.begin_drag(in.bounds, p);
    return {true, std::nullopt};
  }
  return {};
}

NavigationReply surface_move(NavigationPanel& panel, const NavigationInputs& in,
                             const zarn_ui::widget::PointerMoved& moved, double scale) {
  const double s = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
  const zarn_ui::Point p{moved.position.x / s, moved.position.y / s};
  NavigationReply reply;
  if (panel.dragging()) {
    panel.update_drag(in.route.has_value(), in.bounds, p);
    reply.handled = true;
  } else if (panel.update_end_hover(navigation_on_desktop(panel, in), p)) {
    reply.handled = true;
  }
  panel.set_surface_pointer(p);
  return reply;
}

}  // namespace

NavigationReply navigation_window_press(NavigationPanel& panel, const NavigationInputs& in, zarn_ui::Point p) {
  if (!navigation_in_window(panel, in)) return {};
  return press_on_panel(panel, in, p);
}

NavigationReply navigation_surface_event(NavigationPanel& panel, const NavigationInputs& in, const std::string& id,
                                         const zarn_ui::widget::Event& event, double scale) {
  namespace w = zarn_ui::widget;
  if (id != NavigationPanel::kSurfaceId) return {};
  if (const auto* moved = std::get_if<w::PointerMoved>(&event)) return surface_move(panel, in, *moved, scale);
  if (std::holds_alternative<w::PointerLeft>(event)) {
    const bool hovered = panel.end_hovered();
    panel.clear_end_hover();
    return {hovered, std::nullopt};
  }
  const auto* button = std::get_if<w::MouseButtonEvent>(&event);
  if (!button || button->button != w::MouseButton::Primary) return {};
  if (!button->pressed) return {panel.end_drag(), std::nullopt};
  if (!navigation_on_desktop(panel, in)) return {};
  return press_on_panel(panel, in, panel.surface_pointer());
}

}  // namespace maps

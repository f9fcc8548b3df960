// The application's side of the framework's floating surfaces: the navigation panel's desktop
// surface, its drawing there, the desktop's events about it, and the input of its own window.

#include <cmath>

#include "app/maps_app.hpp"
#include "navigation/navigation_paint.hpp"
#include "navigation/navigation_steps.hpp"
#include "transitions/plans.hpp"

namespace maps {

using zarn_ui::floating_surface::FloatingSurfaceEntry;
using zarn_ui::floating_surface::FloatingSurfaceRequest;
using zarn_ui::floating_surface::SurfaceEvent;

std::optional<FloatingSurfaceRequest> MapsApp::take_surface_request() { return navigation.take_surface_request(); }

// Only a panel on the desktop is drawn here: the overlay draws it while it is in the window.
void MapsApp::draw_floating(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                            zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme) {
  if (!navigation_on_desktop(*this)) return;
  paint_navigation_panel(*this, scene, transform, text, theme);
}

std::vector<FloatingSurfaceEntry> MapsApp::floating_surfaces() const {
  if (auto entry = navigation.surface_entry(model.route.has_value(), bounds_rect)) return {std::move(*entry)};
  return {};
}

std::vector<std::string> MapsApp::surface_snapshot() const {
  if (!model.route) return {};
  return {NavigationPanel::kSurfaceId};
}

void MapsApp::set_host_rect(const Rect& rect) { navigation.set_host_rect(rect); }

void MapsApp::apply_surface_event(const SurfaceEvent& event) {
  navigation.apply_surface_event(model.route.has_value(), bounds_rect, event);
}

// The panel's own window: hover and press "End", or take the grip and drag the panel, in the
// window's coordinates as the panel is drawn there.
void MapsApp::handle_surface_event(const std::string& id, const zarn_ui::widget::Event& event,
                                   std::uint32_t /*modifiers*/, zarn_ui::state::State& state, bool& handled,
                                   double scale) {
  namespace w = zarn_ui::widget;
  if (id != NavigationPanel::kSurfaceId) return;
  const bool has_route = model.route.has_value();
  if (const auto* moved = std::get_if<w::PointerMoved>(&event)) {
    const double s = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
    const Point p{moved->position.x / s, moved->position.y / s};
    if (navigation.dragging()) {
      navigation.update_drag(has_route, bounds_rect, p);
      handled = true;
    } else if (navigation.update_end_hover(navigation_on_desktop(*this), p)) {
      handled = true;
    }
    pointer.on_surface = p;
    return;
  }
  if (std::holds_alternative<w::PointerLeft>(event)) {
    if (navigation.end_hovered()) handled = true;
    navigation.clear_end_hover();
    return;
  }
  const auto* button = std::get_if<w::MouseButtonEvent>(&event);
  if (!button || button->button != w::MouseButton::Primary) return;
  if (!button->pressed) {
    if (navigation.end_drag()) handled = true;
    return;
  }
  if (!navigation_on_desktop(*this)) return;
  if (navigation.on_end(pointer.on_surface)) {
    clear_route(session(), state);
    navigation.clear_end_hover();
    handled = true;
  } else if (navigation.on_grip(pointer.on_surface)) {
    navigation.begin_drag(bounds_rect, pointer.on_surface);
    handled = true;
  }
}

}  // namespace maps

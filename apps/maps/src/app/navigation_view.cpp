// The navigation panel's glue: its inputs, the steps on the app's state, and the app's side of the
// framework's floating surfaces (the panel's desktop surface, its drawing there, the desktop's
// events about it and the input of its own window).

#include "app/navigation_view.hpp"

#include "app/maps_app.hpp"
#include "app/ui_messages.hpp"
#include "navigation/navigation_input.hpp"
#include "navigation/navigation_paint.hpp"
#include "navigation/navigation_steps.hpp"
#include "transitions/plans.hpp"

namespace maps {

using zarn_ui::floating_surface::FloatingSurfaceEntry;
using zarn_ui::floating_surface::FloatingSurfaceRequest;
using zarn_ui::floating_surface::SurfaceEvent;

NavigationInputs navigation_inputs(const MapsApp& app) {
  return {app.model.route, app.bounds_rect, app.panel, app.drawn_scale_bar, route_is_estimate(app.transient)};
}

void float_navigation(MapsApp& app) { float_navigation(app.navigation, navigation_inputs(app)); }

bool navigation_docked_visible(const MapsApp& app) {
  return navigation_docked_visible(app.navigation, navigation_inputs(app));
}

bool navigation_in_window(const MapsApp& app) { return navigation_in_window(app.navigation, navigation_inputs(app)); }

std::optional<Rect> navigation_end_target(const MapsApp& app) {
  return navigation_end_target(app.navigation, navigation_inputs(app));
}

bool navigation_on_desktop(const MapsApp& app) { return navigation_on_desktop(app.navigation, navigation_inputs(app)); }

void stage_floating_navigation(MapsApp& app, const std::string& mode) {
  stage_floating_navigation(app.navigation, navigation_inputs(app), mode);
}

namespace {

bool follow_reply(MapsApp& app, const NavigationReply& reply, zarn_ui::state::State& state) {
  if (reply.message) route_message(app, *reply.message, state);
  return reply.handled;
}

}  // namespace

bool press_navigation_in_window(MapsApp& app, Point p, zarn_ui::state::State& state) {
  return follow_reply(app, navigation_window_press(app.navigation, navigation_inputs(app), p), state);
}

std::optional<FloatingSurfaceRequest> MapsApp::take_surface_request() { return navigation.take_surface_request(); }

// Only a panel on the desktop is drawn here: the window draws it while it is in the window.
void MapsApp::draw_floating(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                            zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme) {
  const NavigationInputs in = navigation_inputs(*this);
  if (!navigation_on_desktop(navigation, in)) return;
  paint_navigation_panel(navigation, in, scene, transform, text, theme);
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

void MapsApp::handle_surface_event(const std::string& id, const zarn_ui::widget::Event& event,
                                   std::uint32_t /*modifiers*/, zarn_ui::state::State& state, bool& handled,
                                   double scale) {
  if (follow_reply(*this, navigation_surface_event(navigation, navigation_inputs(*this), id, event, scale), state)) {
    handled = true;
  }
}

}  // namespace maps

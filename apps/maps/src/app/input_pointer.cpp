// Pointer moves and button presses: drags, hover, tooltips, and what a press lands on, tested
// from what is drawn on top down to the bare map.

#include "app/input_pointer.hpp"

#include <cmath>
#include <optional>
#include <string>

#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "app/ui_messages.hpp"
#include "directions/endpoint_input.hpp"
#include "geo/screen_view.hpp"
#include "map_layers/markers.hpp"
#include "menu/menu_input.hpp"
#include "navigation/navigation_steps.hpp"
#include "overlay/map_controls.hpp"
#include "transitions/messages.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"
#include "transitions/selection.hpp"
#include "transitions/view.hpp"

namespace maps::input_pointer {
namespace {

using zarn_ui::widget::Event;
using zarn_ui::widget::MouseButton;
using zarn_ui::widget::MouseButtonEvent;
using zarn_ui::widget::PointerMoved;

constexpr double kPanThreshold = 0.5;

}  // namespace

void pointer_moved(MapsApp& app, const Event& event, const PointerMoved& move, std::uint32_t modifiers, bool& handled,
                   double scale) {
  const double s = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
  const Point p{move.position.x / s, move.position.y / s};
  app.pointer.last = p;

  if (app.navigation.dragging()) {
    app.navigation.update_drag(app.model.route.has_value(), app.bounds_rect, p);
    handled = true;
    return;
  }

  // Only a panel drawn in the window answers the window's pointer.
  if (app.navigation.update_end_hover(navigation_end_target(app).has_value(), p)) handled = true;

  const zarn_ui::widgets::EventCtx field_ctx = app.field_ctx(modifiers, scale);
  app.search_box.field_event(event, field_ctx);
  app.endpoint_editor.route_to_fields(event, field_ctx);
  // A move only highlights an entry; it never chooses one.
  if (app.overflow_menu.is_open()) app.overflow_menu.menu_event(event, {modifiers, scale});
  if (app.offline_panel.is_open()) offline_area_event(app, event, modifiers, scale);

  if (app.pointer.down && app.pointer.map_press) {
    const double dx = p.x - app.pointer.drag_anchor.x, dy = p.y - app.pointer.drag_anchor.y;
    if (std::abs(dx) > kPanThreshold || std::abs(dy) > kPanThreshold) {
      pan_map(app.session(), dx, dy);
      handled = true;
    }
    app.pointer.drag_anchor = p;
  }

  if (app.overlay.pointer_moved(app.drawn_bounds, app.bounds_rect, p, app.pointer.down,
                                map_controls_shown(app.drawn_bounds, app.panel.expanded), app.backend.now())) {
    handled = true;
  }
}

namespace {

// ---- presses ----

void run_hit_target(MapsApp& app, const Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                    double scale, const UiMessage& message) {
  const auto* box = std::get_if<msg::SearchBox>(&message.value);
  const bool opens_box = box && std::holds_alternative<SearchBoxEvent::Opened>(box->event.value);
  // A chosen suggestion is read from the list before the list closes, so that press keeps it too.
  const bool keeps_box = box && (opens_box || std::holds_alternative<SearchBoxEvent::Other>(box->event.value) ||
                                 std::holds_alternative<SearchBoxEvent::SuggestionChosen>(box->event.value));
  if (!keeps_box) app.search_box.close_search_suggestions();
  app.endpoint_editor.reset_endpoint_editor();
  route_message(app, message, state);
  if (opens_box) {
    app.search_box.focus();
    app.search_box.field_event(event, app.field_ctx(modifiers, scale));
  }
}

bool hit_target_press(MapsApp& app, const Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                      double scale, Point p) {
  for (auto it = app.hit_targets.rbegin(); it != app.hit_targets.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const UiMessage message = it->message;  // handling it may rebuild the list
    run_hit_target(app, event, modifiers, state, scale, message);
    return true;
  }
  return false;
}

// The "More" button is the last area the overlay records, drawn above the navigation panel and
// the panels: it takes a press before them.
bool more_button_press(MapsApp& app, const Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                       double scale, Point p) {
  if (app.hit_targets.empty()) return false;
  const HitTarget top = app.hit_targets.back();
  if (!std::holds_alternative<msg::ToggleOverflowMenu>(top.message.value) || !rect_contains_point(top.rect, p.x, p.y)) {
    return false;
  }
  run_hit_target(app, event, modifiers, state, scale, top.message);
  return true;
}

// The markers decide what a press reaches (map_layers/markers); selecting copies the id first,
// since selecting may change the list it points into.
bool marker_press(MapsApp& app, Point p) {
  const Camera camera = view_camera(app.bounds_rect, app.model.center, app.model.zoom);
  if (const Place* place = place_marker_at(camera, app.model.places, app.model.selected, p)) {
    select_place(app.session(), std::string(place->id));
    return true;
  }
  if (const Poi* poi = poi_marker_at(camera, app.backend.view_pois.pois, app.selected_poi, p)) {
    select_poi(app.session(), std::string(poi->id));
    return true;
  }
  return false;
}

// A press goes to what is drawn on top where it lands: the open menu (which closes when the press
// misses it), the "More" button, the navigation panel, the panels, the recorded areas, the map
// controls, the markers and last the bare map. The panel's End and grip rectangles are those of
// its last paint; a panel that is not drawn in the window this frame (hidden under the narrow
// side panel, or on the desktop) takes no press here.
void primary_press(MapsApp& app, const Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                   bool& handled, double scale) {
  const Point p = app.pointer.last;
  if (app.overflow_menu.is_open()) {
    app.pointer.down = true;
    handled = true;
    if (auto chosen = overflow_menu_event(app.overflow_menu, event, {modifiers, scale})) {
      route_message(app, *chosen, state);
    }
    return;
  }
  if (more_button_press(app, event, modifiers, state, scale, p)) {
    app.pointer.down = true;
    handled = true;
    return;
  }
  if (navigation_in_window(app)) {
    if (app.navigation.on_end(p)) {
      clear_route(app.session(), state);
      app.navigation.clear_end_hover();
      handled = true;
      return;
    }
    if (app.navigation.on_grip(p)) {
      app.navigation.begin_drag(app.bounds_rect, p);
      handled = true;
      return;
    }
  }
  app.pointer.down = true;
  handled = true;

  if (app.offline_panel.is_open() && offline_panel_press(app, event, modifiers, state, scale, p)) return;
  if (app.model.panel == Panel::Directions && endpoint_editor_press(app, event, modifiers, scale, p, state)) return;
  if (hit_target_press(app, event, modifiers, state, scale, p)) return;

  app.search_box.close_search_suggestions();
  app.endpoint_editor.reset_endpoint_editor();
  if (const MapControl control = hit_test_controls(app.drawn_bounds, p.x, p.y); control != MapControl::None) {
    handle_map_control(app, control);
    return;
  }
  if (marker_press(app, p)) return;

  // The bare map: moving the pointer now pans.
  app.selected_poi.reset();
  app.pointer.drag_anchor = p;
  app.pointer.map_press = true;
}

}  // namespace

void button_event(MapsApp& app, const Event& event, const MouseButtonEvent& button, std::uint32_t modifiers,
                  zarn_ui::state::State& state, bool& handled, double scale) {
  const bool primary = button.button == MouseButton::Primary;
  if (!button.pressed) {
    if (!primary) return;
    // A field being drag-selected stops extending its selection.
    const zarn_ui::widgets::EventCtx field_ctx = app.field_ctx(modifiers, scale);
    app.search_box.field_event(event, field_ctx);
    app.endpoint_editor.route_to_fields(event, field_ctx);
    const bool dragging = app.navigation.end_drag();
    app.pointer.down = false;
    app.pointer.map_press = false;
    if (dragging) handled = true;
    return;
  }
  app.overlay.dismiss_tooltip();
  if (!primary) return;
  primary_press(app, event, modifiers, state, handled, scale);
}

}  // namespace maps::input_pointer

// Pointer moves and button presses: drags, hover, tooltips, and what a press lands on, tested
// from what is drawn on top down to the bare map.

#include "app/input_pointer.hpp"

#include <cmath>
#include <optional>
#include <string>

#include "app/maps_app.hpp"
#include "app/messages.hpp"
#include "app/screen_geometry.hpp"
#include "app/transitions_later.hpp"
#include "app/view.hpp"
#include "map_layers/markers.hpp"

namespace maps::input_pointer {
namespace {

using zarn_ui::widget::Event;
using zarn_ui::widget::MouseButton;
using zarn_ui::widget::MouseButtonEvent;
using zarn_ui::widget::PointerMoved;
using zarn_ui::widgets::TooltipTarget;

constexpr double kPanThreshold = 0.5;
constexpr double kHandOffMargin = 8.0;

void run_chosen_menu_item(MapsApp& app) {
  if (auto index = app.overflow_menu.take_chosen()) run_overflow_menu_item(app, *index);
}

// ---- pointer moves ----

std::optional<TooltipTarget> tooltip_target(const MapsApp& app, Point p) {
  static constexpr const char* kControlTips[] = {"Zoom in", "Zoom out", "My location", "Traffic"};
  if (app.hovered_control < 4) {
    return TooltipTarget{control_button_rect(app.drawn_bounds, app.hovered_control), kControlTips[app.hovered_control]};
  }
  const Rect& b = app.bounds_rect;
  if (auto menu = menu_button_rect(b); menu && rect_contains_point(*menu, p.x, p.y)) {
    return TooltipTarget{*menu, "Menu"};
  }
  const Rect more{b.x1 - 56.0, b.y1 - 46.0, b.x1 - 16.0, b.y1 - 16.0};
  if (rect_contains_point(more, p.x, p.y)) return TooltipTarget{more, "More"};
  return std::nullopt;
}

}  // namespace

void pointer_moved(MapsApp& app, const Event& event, const PointerMoved& move, std::uint32_t modifiers,
                   std::uint8_t extra, bool& handled, double scale) {
  const double s = std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
  const Point p{move.position.x / s, move.position.y / s};
  app.last_pointer = p;

  if (app.navigation_placement.drag) {
    const Rect outer = navigation_panel_rect(app).inflate(kHandOffMargin, kHandOffMargin);
    if (app.navigation_placement.update_drag(app.bounds_rect, app.placement_host_rect(), p) == 1) {
      app.surface_request = active_navigation_surface(app, outer);
    }
    handled = true;
    return;
  }

  const bool hover = app.model.route.has_value() && rect_contains_point(app.navigation_end_rect, p.x, p.y);
  if (hover != app.navigation_end_hover) {
    app.navigation_end_hover = hover;
    handled = true;
  }

  text_input_event(app.search_input, event, modifiers, extra, scale);
  text_input_event(app.origin_input, event, modifiers, extra, scale);
  text_input_event(app.dest_input, event, modifiers, extra, scale);
  if (app.overflow_menu.is_open()) context_menu_event(app, event, modifiers, extra, scale);
  if (app.offline_open) area_search_event(app, event, modifiers, extra, scale);

  if (app.pointer_down && app.map_press) {
    const double dx = p.x - app.drag_anchor.x, dy = p.y - app.drag_anchor.y;
    if (std::abs(dx) > kPanThreshold || std::abs(dy) > kPanThreshold) {
      pan_map(app, dx, dy);
      handled = true;
    }
    app.drag_anchor = p;
  }

  const std::uint8_t before = app.hovered_control;
  std::optional<TooltipTarget> target;
  if (app.pointer_down) {
    app.hovered_control = kNoControl;
  } else {
    app.hovered_control = hit_test_controls(app.drawn_bounds, p.x, p.y);
    target = tooltip_target(app, p);
  }
  if (app.tooltips.on_pointer(std::move(target), app.mono_now()) || app.hovered_control != before) handled = true;
}

namespace {

// ---- presses ----

bool endpoint_editor_press(MapsApp& app, const Event& event, std::uint32_t modifiers, std::uint8_t extra, double scale,
                           Point p) {
  for (auto it = app.endpoint_hits.rbegin(); it != app.endpoint_hits.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const EndpointHit hit = *it;  // the lists below may change under the reference
    const std::uint8_t field = hit.field == 0 ? 0 : 1;
    switch (hit.kind) {
      case EndpointHit::kFieldBox: {
        begin_endpoint_edit(app, field);
        text_input_event(field == 0 ? app.origin_input : app.dest_input, event, modifiers, extra, scale);
        close_search_suggestions(app);
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::TextEdited{"", field}});
        return true;
      }
      case EndpointHit::kSuggestionRow: {
        auto& list = field == 0 ? app.origin_suggestions : app.dest_suggestions;
        close_search_suggestions(app);
        if (hit.index >= list.size()) return true;
        const Place place = list[hit.index];
        list.clear();
        reset_endpoint_editor(app);
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::SuggestionChosen{place, field}});
        return true;
      }
      case EndpointHit::kSwapButton:
        reset_endpoint_editor(app);
        close_search_suggestions(app);
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Swap{}});
        return true;
      case EndpointHit::kSuggestionCard:
        close_search_suggestions(app);
        handle_endpoint_editor_event(app, EndpointEvent{EndpointEvent::Nothing{}});
        return true;
      default: return false;
    }
  }
  return false;
}

bool hit_target_press(MapsApp& app, const Event& event, std::uint32_t modifiers, std::uint8_t extra,
                      zarn_ui::state::State& state, double scale, Point p) {
  for (auto it = app.hit_targets.rbegin(); it != app.hit_targets.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const UiMessage message = it->message;  // handling it may rebuild the list
    const auto* box = std::get_if<msg::SearchBox>(&message.value);
    const bool opens_box = box && std::holds_alternative<SearchBoxEvent::Opened>(box->event.value);
    const bool keeps_box = box && (opens_box || std::holds_alternative<SearchBoxEvent::Other>(box->event.value));
    if (!keeps_box) close_search_suggestions(app);
    reset_endpoint_editor(app);
    handle_ui_message(app, message, state);
    if (opens_box) {
      app.search_input.focused = true;
      text_input_event(app.search_input, event, modifiers, extra, scale);
    }
    return true;
  }
  return false;
}

bool place_marker_press(MapsApp& app, const Camera& camera, Point p) {
  const Place* best = nullptr;
  double best_d = 0.0;
  for (const Place& place : app.model.places) {
    const bool selected = app.model.selected == place.id;
    const Point at = camera_project(camera, place.pos.lat, place.pos.lon);
    const double d = std::hypot(p.x - at.x, p.y - (at.y - (selected ? 30.0 : 22.0)));
    if (!(d <= (selected ? 18.0 : 14.0))) continue;
    if (!best || d < best_d) {
      best = &place;
      best_d = d;
    }
  }
  if (!best) return false;
  select_place(app, std::string(best->id));
  return true;
}

bool poi_marker_press(MapsApp& app, const Camera& camera, Point p) {
  const double base = app.model.zoom >= 16.0 ? 9.0 : 4.5;
  const Poi* best = nullptr;
  double best_d = 0.0;
  for (std::size_t i : poi_marker_layout(app)) {
    if (i >= app.pois.size()) continue;
    const Poi& poi = app.pois[i];
    const bool selected = app.selected_poi == poi.id;
    const Point at = camera_project(camera, poi.pos.lat, poi.pos.lon);
    const double d = std::hypot(p.x - at.x, p.y - at.y);
    if (!(d <= base + (selected ? 4.0 : 0.0) + 6.0)) continue;
    if (!best || d < best_d) {
      best = &poi;
      best_d = d;
    }
  }
  if (!best) return false;
  select_poi(app, std::string(best->id));
  return true;
}

// The panel's End and grip rectangles are those of its last paint; a panel that is not drawn in
// the window this frame (hidden under the narrow side panel, or on the desktop) takes no press.
bool navigation_panel_in_window(const MapsApp& app) {
  if (!app.model.route) return false;
  const auto& placement = app.navigation_placement;
  return (!placement.is_docked() && !placement.detached) || docked_navigation_visible(app);
}

void primary_press(MapsApp& app, const Event& event, std::uint32_t modifiers, std::uint8_t extra,
                   zarn_ui::state::State& state, bool& handled, double scale) {
  const Point p = app.last_pointer;
  if (navigation_panel_in_window(app)) {
    if (rect_contains_point(app.navigation_end_rect, p.x, p.y)) {
      clear_route(app, state);
      app.navigation_end_hover = false;
      handled = true;
      return;
    }
    if (rect_contains_point(app.navigation_drag_rect, p.x, p.y)) {
      app.navigation_placement.panel_size = navigation_panel_rect(app).size();
      app.navigation_placement.begin_drag(app.bounds_rect, app.placement_host_rect(), p);
      handled = true;
      return;
    }
  }
  app.pointer_down = true;
  handled = true;

  if (app.overflow_menu.is_open()) {
    context_menu_event(app, event, modifiers, extra, scale);
    run_chosen_menu_item(app);
    return;
  }
  if (app.offline_open) {
    if (area_search_event(app, event, modifiers, extra, scale)) return;
    for (auto it = app.offline_hits.rbegin(); it != app.offline_hits.rend(); ++it) {
      if (!rect_contains_point(it->rect, p.x, p.y)) continue;
      const OfflineCommand command = it->command;
      offline_panel_action(app, command, state);
      return;
    }
  }
  if (app.model.panel == Panel::Directions && endpoint_editor_press(app, event, modifiers, extra, scale, p)) return;
  if (hit_target_press(app, event, modifiers, extra, state, scale, p)) return;

  close_search_suggestions(app);
  reset_endpoint_editor(app);
  if (const std::uint8_t control = hit_test_controls(app.drawn_bounds, p.x, p.y); control != kNoControl) {
    handle_map_control(app, control);
    return;
  }
  const Camera camera = view_camera(app.bounds_rect, app.model.center, app.model.zoom);
  if (place_marker_press(app, camera, p)) return;
  if (poi_marker_press(app, camera, p)) return;

  // The bare map: moving the pointer now pans.
  app.selected_poi.reset();
  app.drag_anchor = p;
  app.map_press = true;
}

}  // namespace

void button_event(MapsApp& app, const Event& event, const MouseButtonEvent& button, std::uint32_t modifiers,
                  std::uint8_t extra, zarn_ui::state::State& state, bool& handled, double scale) {
  const bool primary = button.button == MouseButton::Primary;
  if (!button.pressed) {
    if (!primary) return;
    const bool dragging = app.navigation_placement.drag.has_value();
    app.navigation_placement.end_drag(app.placement_host_rect());
    app.pointer_down = false;
    app.map_press = false;
    if (dragging) handled = true;
    return;
  }
  app.tooltips.dismiss();
  if (!primary) return;
  primary_press(app, event, modifiers, extra, state, handled, scale);
}

}  // namespace maps::input_pointer

#include "app/access_tree.hpp"

#include <algorithm>
#include <type_traits>

#include <fmt/format.h>

#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "app/ui_messages.hpp"
#include "base/text.hpp"
#include "directions/endpoint_input.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "format/labels.hpp"
#include "menu/menu_input.hpp"
#include "menu/overflow_menu.hpp"
#include "model/place_ops.hpp"
#include "navigation/navigation_steps.hpp"
#include "offline_panel/offline_entries.hpp"
#include "overlay/map_controls.hpp"
#include "transitions/messages.hpp"
#include "transitions/plans.hpp"

namespace maps {

namespace ax = zarn_ui::access;

namespace {

bool has_area(const zarn_ui::Rect& r) { return r.width() * r.height() > 0.0; }

std::optional<AccessEntry> entry(std::string label, std::string id, const zarn_ui::Rect& rect,
                                 std::optional<bool> on = std::nullopt) {
  return AccessEntry{std::move(label), std::move(id), rect, on};
}

std::optional<AccessEntry> search_box_entry(const MapsApp& app, const SearchBoxEvent& event, const zarn_ui::Rect& r) {
  return std::visit(
      [&](const auto& e) -> std::optional<AccessEntry> {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, SearchBoxEvent::Opened>) {
          return entry("Search places", "maps.search", r);
        } else if constexpr (std::is_same_v<E, SearchBoxEvent::Cleared>) {
          return entry("Clear search", "maps.search.clear", r);
        } else if constexpr (std::is_same_v<E, SearchBoxEvent::SuggestionChosen>) {
          const auto& suggestions = app.search_box.suggestions();
          if (e.index < suggestions.size()) {
            const Place& p = suggestions[e.index];
            return entry(fmt::format("Open {}", p.name), fmt::format("maps.search-result:{}", p.id), r);
          }
          return entry(fmt::format("Search result {}", e.index + 1), fmt::format("maps.search-result:{}", e.index), r);
        } else {
          return std::nullopt;
        }
      },
      event.value);
}

// The endpoint editor's areas of the directions panel: the two fields, the swap button and the
// suggestion rows under the edited field (the card behind the rows only absorbs presses).
std::optional<AccessEntry> endpoint_entry(const MapsApp& app, const EndpointHit& hit) {
  const bool origin = hit.field == EndpointField::Origin;
  switch (hit.kind) {
    case EndpointHitKind::FieldBox:
      return origin ? entry("Starting point", "maps.route.origin", hit.rect)
                    : entry("Destination", "maps.route.destination", hit.rect);
    case EndpointHitKind::SwapButton: return entry("Swap start and destination", "maps.route.swap", hit.rect);
    case EndpointHitKind::SuggestionRow: {
      const auto& list = app.endpoint_editor.suggestions(origin ? EndpointField::Origin : EndpointField::Destination);
      if (hit.index >= list.size()) return std::nullopt;
      const Place& p = list[hit.index];
      if (origin)
        return entry(fmt::format("Start from {}", p.name), fmt::format("maps.route.origin:{}", p.id), hit.rect);
      return entry(fmt::format("Go to {}", p.name), fmt::format("maps.route.destination:{}", p.id), hit.rect);
    }
    case EndpointHitKind::SuggestionCard: return std::nullopt;
  }
  return std::nullopt;
}

// The entries of the open overflow menu, which lies above everything but the dialog.
struct MenuEntry {
  OverflowMenuItem item;
  const char* id;
};
constexpr MenuEntry kMenuEntries[] = {
    {OverflowMenuItem::Attribution, "maps.overflow:attribution"},
    {OverflowMenuItem::OfflineMaps, "maps.overflow:offline-maps"},
    {OverflowMenuItem::Licenses, "maps.overflow:licenses"},
    {OverflowMenuItem::FloatNavigation, "maps.overflow:float-navigation"},
};

}  // namespace

std::optional<AccessEntry> map_menu_entry(const MapsApp& app, const UiMessage& message, const zarn_ui::Rect& r) {
  return std::visit(
      [&](const auto& m) -> std::optional<AccessEntry> {
        using M = std::decay_t<decltype(m)>;
        if constexpr (std::is_same_v<M, msg::SearchBox>) {
          return search_box_entry(app, m.event, r);
        } else if constexpr (std::is_same_v<M, msg::TogglePanelCollapsed>) {
          return entry(app.panel.collapsed ? "Expand panel" : "Collapse panel", "maps.panel-collapse", r);
        } else if constexpr (std::is_same_v<M, msg::BackToPlaces>) {
          return entry("Back to places", "maps.panel.back", r);
        } else if constexpr (std::is_same_v<M, msg::ChooseTravelMode>) {
          const std::string_view label = travel_mode_label(m.mode);
          return entry(fmt::format("Travel by {}", label), fmt::format("maps.mode:{}", base::ascii_lower(label)), r);
        } else if constexpr (std::is_same_v<M, msg::OpenPlace>) {
          const auto place = find_place(app.model, m.id);
          if (!place) return std::nullopt;
          return entry(fmt::format("Open {}", place->name), fmt::format("maps.place:{}", m.id), r);
        } else if constexpr (std::is_same_v<M, msg::OpenPoi>) {
          auto it = std::find_if(app.backend.view_pois.pois.begin(), app.backend.view_pois.pois.end(),
                                 [&](const Poi& p) { return p.id == m.id; });
          if (it == app.backend.view_pois.pois.end()) return std::nullopt;
          return entry(fmt::format("Open {}", it->name), fmt::format("maps.poi:{}", m.id), r);
        } else if constexpr (std::is_same_v<M, msg::ClosePoi>) {
          return entry("Close place details", "maps.poi.close", r);
        } else if constexpr (std::is_same_v<M, msg::DirectionsToPoi>) {
          return entry("Directions to this place", "maps.poi.directions", r);
        } else if constexpr (std::is_same_v<M, msg::SearchAgain>) {
          return entry(fmt::format("Search again for {}", m.text), fmt::format("maps.recent:{}", m.text), r);
        } else if constexpr (std::is_same_v<M, msg::ClearRecents>) {
          return entry("Clear search history", "maps.recent.clear", r);
        } else if constexpr (std::is_same_v<M, msg::ToggleNavigation>) {
          return entry(app.panel.expanded ? "Close map navigation" : "Open map navigation", "maps.navigation", r);
        } else if constexpr (std::is_same_v<M, msg::Directions>) {
          return entry("Directions", "maps.directions", r);
        } else if constexpr (std::is_same_v<M, msg::TransitDirections>) {
          return entry("Transit", "maps.transit", r);
        } else if constexpr (std::is_same_v<M, msg::ToggleSaved>) {
          const auto place = selected_place(app.model);
          return entry("Save or unsave place", "maps.save", r, place && place->saved);
        } else if constexpr (std::is_same_v<M, msg::ClearRoute>) {
          return entry("Clear route", "maps.route.clear", r);
        } else if constexpr (std::is_same_v<M, msg::UseMyLocation>) {
          return entry("Use my location", "maps.location", r);
        } else if constexpr (std::is_same_v<M, msg::SetTransitTimeMode>) {
          const bool arrive = m.mode == TransitTimeMode::Arrive;
          return entry(arrive ? "Arrive by" : "Leave at",
                       arrive ? "maps.transit-time:arrive" : "maps.transit-time:depart", r,
                       app.model.transit_time.mode == m.mode);
        } else if constexpr (std::is_same_v<M, msg::ShiftTransitTime>) {
          return entry(m.minutes < 0 ? "Earlier" : "Later", fmt::format("maps.transit-time:delta:{}", m.minutes), r);
        } else if constexpr (std::is_same_v<M, msg::LeaveNow>) {
          return entry("Leave now", "maps.transit-time:now", r);
        } else if constexpr (std::is_same_v<M, msg::ChooseJourney>) {
          return entry(fmt::format("Journey option {}", m.index + 1), fmt::format("maps.journey:{}", m.index), r,
                       app.model.transit_choice == m.index);
        } else if constexpr (std::is_same_v<M, msg::ToggleOverflowMenu>) {
          return entry("More map options", "maps.overflow", r);
        } else if constexpr (std::is_same_v<M, msg::OpenAttribution>) {
          return entry("Map data \u00a9 OpenStreetMap contributors, tiles \u00a9 CARTO", "maps.attribution", r);
        } else {
          // Noop and CloseNavigation describe nothing; the menu lists its own entries.
          return std::nullopt;
        }
      },
      message.value);
}

std::vector<AccessEntry> map_control_entries(const MapsApp& app) {
  static constexpr const char* kLabels[] = {"Zoom in", "Zoom out", "Use my location", "Traffic"};
  static constexpr const char* kIds[] = {"maps.control:zoom-in", "maps.control:zoom-out", "maps.control:locate",
                                         "maps.control:traffic"};
  std::vector<AccessEntry> out;
  const auto controls = control_button_rects(app.bounds_rect);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!has_area(controls[i])) continue;
    const std::optional<bool> on = i == 3 ? std::optional<bool>(app.backend.traffic.enabled) : std::nullopt;
    out.push_back({kLabels[i], kIds[i], controls[i], on});
  }
  // Only while the panel is drawn in the window: one on the desktop is reached in its own window.
  if (const auto end = navigation_end_target(app)) {
    out.push_back({"End navigation", "maps.navigation.end", *end, std::nullopt});
  }
  for (const HitTarget& target : app.hit_targets) {
    if (!has_area(target.rect)) continue;
    if (auto e = map_menu_entry(app, target.message, target.rect)) out.push_back(std::move(*e));
  }
  for (const EndpointHit& hit : app.endpoint_editor.hits()) {
    if (!has_area(hit.rect)) continue;
    if (auto e = endpoint_entry(app, hit)) out.push_back(std::move(*e));
  }
  if (app.overflow_menu.is_open()) {
    const auto& items = app.overflow_menu.items();
    for (const MenuEntry& m : kMenuEntries) {
      const auto i = static_cast<std::size_t>(m.item);
      if (i < items.size()) out.push_back({items[i].label, m.id, app.overflow_menu.item_rect(m.item), std::nullopt});
    }
  }
  if (is_narrow_layout(app.bounds_rect) && app.panel.expanded) {
    const zarn_ui::Rect panel = side_panel_rect(app.bounds_rect);
    std::erase_if(out, [&](const AccessEntry& e) {
      const zarn_ui::Point c = e.rect.center();
      // The open menu lies above the panel's scrim.
      const bool menu_entry = e.id.starts_with("maps.overflow:");
      return e.id != "maps.navigation" && !menu_entry && !rect_contains_point(panel, c.x, c.y);
    });
  }
  return out;
}

namespace {

// Text fields take focus, toggles show their state, everything else is a button.
ax::AccessNode entry_node(std::string_view label, const std::string& id, const zarn_ui::Rect& rect,
                          std::optional<bool> on) {
  const bool field =
      id == "maps.search" || id == "maps.offline.search" || id == "maps.route.origin" || id == "maps.route.destination";
  const ax::Role role = field ? ax::Role::TextField : on ? ax::Role::ToggleButton : ax::Role::Button;
  return ax::AccessNode::with_role(role)
      .with_name(std::string(label))
      .with_id(id)
      .with_bounds(rect)
      .with_flags(on.value_or(false) ? ax::flags::kChecked : 0u)
      .with_action(field ? ax::SemanticAction::Focus : ax::SemanticAction::Activate);
}

}  // namespace

ax::AccessNode maps_access_node(const MapsApp& app) {
  if (app.dialog.is_open()) return modal_access_node(app.dialog);
  std::vector<ax::AccessNode> children;
  if (app.offline_panel.is_open()) {
    for (const OfflineEntry& e : offline_panel_entries(app.offline_panel)) {
      children.push_back(entry_node(e.label, e.id, e.rect, std::nullopt));
    }
    return ax::AccessNode::with_role(ax::Role::Dialog)
        .with_name("Offline maps")
        .with_bounds(app.bounds_rect)
        .with_children(std::move(children));
  }
  for (const AccessEntry& e : map_control_entries(app)) children.push_back(entry_node(e.label, e.id, e.rect, e.on));
  return ax::AccessNode::with_role(ax::Role::Window)
      .with_name("Maps")
      .with_bounds(app.bounds_rect)
      .with_children(std::move(children));
}

std::optional<zarn_ui::Rect> maps_access_child_bounds(const MapsApp& app, std::span<const std::size_t> path) {
  if (path.size() != 1) return std::nullopt;
  const std::size_t i = path[0];
  if (app.offline_panel.is_open()) {
    const auto entries = offline_panel_entries(app.offline_panel);
    if (i >= entries.size()) return std::nullopt;
    return entries[i].rect;
  }
  const auto entries = map_control_entries(app);
  if (i >= entries.size()) return std::nullopt;
  return entries[i].rect;
}

bool maps_semantic_action(MapsApp& app, std::string_view id, ax::SemanticAction action, zarn_ui::state::State& state) {
  // An open dialog is the whole tree: only its own buttons act, as it takes every event.
  if (app.dialog.is_open()) return ax::is_activation(action) && app.dialog.activate_button(id);
  if (app.offline_panel.is_open()) {
    if (action != ax::SemanticAction::Activate || id == "maps.offline.search") return false;
    for (const OfflineEntry& e : offline_panel_entries(app.offline_panel)) {
      if (e.id != id) continue;
      offline_panel_action(app, e.command, state);
      return true;
    }
    return false;
  }
  const bool endpoint_field = id == "maps.route.origin" || id == "maps.route.destination";
  if (!ax::is_activation(action) && !(endpoint_field && action == ax::SemanticAction::Focus)) return false;
  static constexpr std::pair<std::string_view, MapControl> kControls[] = {
      {"maps.control:zoom-in", MapControl::ZoomIn},
      {"maps.control:zoom-out", MapControl::ZoomOut},
      {"maps.control:locate", MapControl::Locate},
      {"maps.control:traffic", MapControl::Traffic},
  };
  for (const auto& [control_id, control] : kControls) {
    if (id != control_id) continue;
    handle_map_control(app, control);
    return true;
  }
  if (id == "maps.navigation.end") {
    clear_route(app.session(), state);
    return true;
  }
  if (id == "maps.search") return false;
  if (app.overflow_menu.is_open()) {
    for (const MenuEntry& m : kMenuEntries) {
      if (id != m.id) continue;
      app.overflow_menu.close();
      route_message(app, overflow_menu_message(m.item), state);
      return true;
    }
  }
  for (const EndpointHit& hit : app.endpoint_editor.hits()) {
    auto e = endpoint_entry(app, hit);
    if (!e || e->id != id) continue;
    const EndpointHit copy = hit;  // activating it may rebuild the list
    activate_endpoint_hit(app, copy, state);
    return true;
  }
  for (const HitTarget& target : app.hit_targets) {
    auto e = map_menu_entry(app, target.message, target.rect);
    if (!e || e->id != id) continue;
    const UiMessage message = target.message;  // handling it may rebuild the list
    route_message(app, message, state);
    return true;
  }
  return false;
}

}  // namespace maps

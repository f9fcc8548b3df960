#include "app/messages.hpp"

#include <algorithm>
#include <type_traits>

#include "app/dispatch.hpp"
#include "app/maps_app.hpp"
#include "app/screen_geometry.hpp"
#include "app/transitions_later.hpp"
#include "app/view.hpp"

namespace maps {
namespace {

constexpr std::int64_t kMaxTransitOffsetMin = 1440;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

void commit_transit_time(MapsApp& app, zarn_ui::state::State& state, TransitTime value) {
  commit_action(app, state, MapsAction{MapsAction::SetTransitTime{value}});
  refresh_transit_search(app);
}

void handle_search_box(MapsApp& app, const SearchBoxEvent& event, zarn_ui::state::State& state) {
  std::visit(Overloaded{
                 [&](const SearchBoxEvent::Opened&) { app.search_open = true; },
                 [&](const SearchBoxEvent::Cleared&) {
                   clear_search_suggestions(app);
                   app.model.query.clear();
                   app.model.results.clear();
                 },
                 [&](const SearchBoxEvent::SuggestionChosen& e) {
                   if (e.index >= app.search_suggestions.size()) return;
                   const Place place = app.search_suggestions[e.index];
                   clear_search_suggestions(app);
                   app.search_open = false;
                   commit_action(app, state, MapsAction{MapsAction::UpsertPlaces{{place}}});
                   app.model.query = place.name;
                   commit_action(app, state, MapsAction{MapsAction::CommitSearch{place.name}});
                   select_place(app, place.id);
                 },
                 [&](const SearchBoxEvent::Other&) {},
             },
             event.value);
}

void toggle_overflow_menu(MapsApp& app) {
  auto& menu = app.overflow_menu;
  if (menu.is_open()) {
    menu.close();
    menu.take_chosen();
    return;
  }
  open_overflow_menu(app);
}

}  // namespace

// A first opening gives the menu's size, the second moves it so that it ends 16 px from the
// right edge and 52 px above the bottom.
void open_overflow_menu(MapsApp& app) {
  auto& menu = app.overflow_menu;
  const Rect& b = app.bounds_rect;
  const auto f32 = [](double v) { return static_cast<double>(static_cast<float>(v)); };
  menu.open_at({f32(b.x1 - 16.0), f32(b.y1 - 46.0)});
  const zarn_ui::Size size = menu.menu_size();
  menu.open_at({f32(b.x1 - 16.0 - size.width), f32(b.y1 - 46.0 - size.height - 6.0)});
}

void commit_action(MapsApp& app, zarn_ui::state::State& state, MapsAction action) {
  if (app.commit_override) {
    app.commit_override(app, state, std::move(action));
    return;
  }
  commit_state(app, state, action);
}

void handle_ui_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state) {
  MapModel& m = app.model;
  std::visit(Overloaded{
                 [](const msg::Noop&) {},
                 [&](const msg::SearchBox& e) { handle_search_box(app, e.event, state); },
                 [&](const msg::TogglePanelCollapsed&) { app.panel_collapsed = !app.panel_collapsed; },
                 [&](const msg::BackToPlaces&) {
                   m.panel = Panel::Explore;
                   reset_endpoint_editor(app);
                   app.panel_scroll = 0.0;
                 },
                 [&](const msg::ChooseTravelMode& e) {
                   if (e.mode == m.mode) return;
                   commit_action(app, state, MapsAction{MapsAction::SetTravelMode{e.mode}});
                   m.panel = Panel::Directions;
                   // Decide on the requested mode: a stand-in commit may not have changed the model.
                   if (e.mode == TravelMode::Transit) {
                     start_transit_search(app);
                   } else {
                     start_routing(app);
                   }
                 },
                 [&](const msg::OpenPlace& e) { select_place(app, e.id); },
                 [&](const msg::OpenPoi& e) {
                   for (const Poi& poi : app.pois) {
                     if (poi.id != e.id) continue;
                     m.center = poi.pos;
                     app.selected_poi = poi.id;
                     app.panel_expanded = true;
                     return;
                   }
                 },
                 [&](const msg::ClosePoi&) { app.selected_poi.reset(); },
                 [&](const msg::DirectionsToPoi&) { directions_to_poi(app); },
                 [&](const msg::SearchAgain& e) {
                   m.query = e.text;
                   submit_search(app, &state);
                 },
                 [&](const msg::ClearRecents&) { commit_action(app, state, MapsAction{MapsAction::ClearRecents{}}); },
                 [&](const msg::ToggleNavigation&) { app.panel_expanded = !app.panel_expanded; },
                 [&](const msg::CloseNavigation&) { app.panel_expanded = false; },
                 [&](const msg::Directions&) { open_directions(app); },
                 [&](const msg::TransitDirections&) { show_transit_directions(app, state); },
                 [&](const msg::ToggleSaved&) { toggle_selected_saved(app, state); },
                 [&](const msg::ClearRoute&) { clear_route(app, state); },
                 [&](const msg::UseMyLocation&) { start_locating(app); },
                 [&](const msg::SetTransitTimeMode& e) {
                   commit_transit_time(app, state, TransitTime{e.mode, m.transit_time.offset_min});
                 },
                 [&](const msg::ShiftTransitTime& e) {
                   // Summed in 64 bits: the stored offset and the step are both arbitrary 32-bit values.
                   const std::int64_t sum = std::int64_t{m.transit_time.offset_min} + std::int64_t{e.minutes};
                   const auto offset =
                       static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, kMaxTransitOffsetMin));
                   commit_transit_time(app, state, TransitTime{m.transit_time.mode, offset});
                 },
                 [&](const msg::LeaveNow&) {
                   commit_transit_time(app, state, TransitTime{TransitTimeMode::Depart, 0});
                 },
                 [&](const msg::ChooseJourney& e) {
                   m.transit_choice = e.index;
                   fit_view_to_plan(app);
                 },
                 [&](const msg::ToggleOverflowMenu&) { toggle_overflow_menu(app); },
             },
             message.value);
}

void handle_map_control(MapsApp& app, std::uint8_t command) {
  const Point c = map_viewport_center(app.bounds_rect);
  switch (command) {
    case kControlZoomIn: zoom_map_at(app, 1.0, c.x, c.y); break;
    case kControlZoomOut: zoom_map_at(app, -1.0, c.x, c.y); break;
    case kControlLocate: start_locating(app); break;
    case kControlTraffic: set_traffic_enabled(app, !app.traffic_enabled); break;
    default: break;
  }
}

void set_panel(MapsApp& app, Panel panel) {
  MapModel& m = app.model;
  m.panel = panel;
  app.panel_scroll = 0.0;
  app.panel_expanded = true;
  reset_endpoint_editor(app);
  if (panel == Panel::Explore) return;
  if (m.mode == TravelMode::Transit) {
    const bool has_dest = m.dest.has_value() || app.selected_place().has_value();
    if (m.transit.empty() && app.pending_jobs == 0 && has_dest) start_transit_search(app);
  } else if (!m.route) {
    start_routing(app);
  }
}

void refresh_transit_search(MapsApp& app) {
  if (app.model.mode == TravelMode::Transit) start_transit_search(app);
}

}  // namespace maps

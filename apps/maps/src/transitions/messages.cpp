#include "transitions/messages.hpp"

#include <algorithm>
#include <type_traits>

#include "model/place_ops.hpp"
#include "transitions/commit.hpp"
#include "transitions/locating.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"
#include "transitions/selection.hpp"
#include "transitions/session.hpp"
#include "transitions/view.hpp"

namespace maps {
namespace {

constexpr std::int64_t kMaxTransitOffsetMin = 1440;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

void commit_transit_time(Session& s, zarn_ui::state::State& state, TransitTime value) {
  s.commit(state, MapsAction{MapsAction::SetTransitTime{value}});
  refresh_transit_search(s);
}

// A result row may be a point of interest that the local search listed; it is stored before it
// is selected, so that the selection and its directions find it after the next document read.
void open_place(Session& s, zarn_ui::state::State& state, const std::string& id) {
  if (!find_place(s.model, id)) {
    const auto& results = s.model.results;
    const auto row = std::find_if(results.begin(), results.end(), [&](const Place& p) { return p.id == id; });
    if (row != results.end()) keep_place(s, &state, Place(*row));
  }
  select_place(s, id);
}

}  // namespace

void handle_ui_message(Session& s, const UiMessage& message, zarn_ui::state::State& state) {
  MapModel& m = s.model;
  std::visit(Overloaded{
                 [](const msg::Noop&) {},
                 // The search box's own events are the window's (app/ui_messages.cpp).
                 [&](const msg::SearchBox&) {},
                 [&](const msg::TogglePanelCollapsed&) { s.panel.collapsed = !s.panel.collapsed; },
                 [&](const msg::BackToPlaces&) {
                   m.panel = Panel::Explore;
                   s.requests.push_back(view_request::ResetEndpointEditor{});
                   s.requests.push_back(view_request::ResetPanelScroll{});
                 },
                 [&](const msg::ChooseTravelMode& e) {
                   if (e.mode == m.mode) return;
                   s.commit(state, MapsAction{MapsAction::SetTravelMode{e.mode}});
                   m.panel = Panel::Directions;
                   // Decide on the requested mode: a stand-in commit may not have changed the model.
                   if (e.mode == TravelMode::Transit) {
                     start_transit_search(s);
                   } else {
                     start_routing(s);
                   }
                 },
                 [&](const msg::OpenPlace& e) { open_place(s, state, e.id); },
                 [&](const msg::OpenPoi& e) {
                   for (const Poi& poi : s.backend.view_pois.pois) {
                     if (poi.id != e.id) continue;
                     centre_view_on(s, poi.pos);
                     s.selected_poi = poi.id;
                     s.panel.expanded = true;
                     return;
                   }
                 },
                 [&](const msg::ClosePoi&) { s.selected_poi.reset(); },
                 [&](const msg::DirectionsToPoi&) { directions_to_poi(s, state); },
                 [&](const msg::SearchAgain& e) {
                   m.query = e.text;
                   submit_search(s, &state);
                 },
                 [&](const msg::ClearRecents&) { s.commit(state, MapsAction{MapsAction::ClearRecents{}}); },
                 [&](const msg::ToggleNavigation&) { s.panel.expanded = !s.panel.expanded; },
                 [&](const msg::CloseNavigation&) { s.panel.expanded = false; },
                 [&](const msg::Directions&) { open_directions(s); },
                 [&](const msg::TransitDirections&) { show_transit_directions(s, state); },
                 [&](const msg::ToggleSaved&) { toggle_selected_saved(s, state); },
                 [&](const msg::ClearRoute&) { clear_route(s, state); },
                 [&](const msg::UseMyLocation&) { start_locating(s); },
                 [&](const msg::SetTransitTimeMode& e) {
                   commit_transit_time(s, state, TransitTime{e.mode, m.transit_time.offset_min});
                 },
                 [&](const msg::ShiftTransitTime& e) {
                   // Summed in 64 bits: the stored offset and the step are both arbitrary 32-bit values.
                   const std::int64_t sum = std::int64_t{m.transit_time.offset_min} + std::int64_t{e.minutes};
                   const auto offset =
                       static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, kMaxTransitOffsetMin));
                   commit_transit_time(s, state, TransitTime{m.transit_time.mode, offset});
                 },
                 [&](const msg::LeaveNow&) {
                   commit_transit_time(s, state, TransitTime{TransitTimeMode::Depart, 0});
                 },
                 [&](const msg::ChooseJourney& e) {
                   m.transit_choice = e.index;
                   fit_view_to_plan(s);
                 },
                 [&](const msg::AskPlaceSearch& e) { ask_place_search(s, e.text); },
                 // The menu, the dialog and the panels they open are the window's (app/ui_messages.cpp).
                 [&](const msg::ToggleOverflowMenu&) {},
                 [&](const msg::OpenAttribution&) {},
                 [&](const msg::OpenLicenses&) {},
                 [&](const msg::OpenOfflineMaps&) {},
                 [&](const msg::FloatNavigation&) {},
                 [&](const msg::Offline&) {},
                 [&](const msg::AskAreaSearch&) {},
             },
             message.value);
}

void set_panel(Session& s, Panel panel) {
  MapModel& m = s.model;
  m.panel = panel;
  s.requests.push_back(view_request::ResetPanelScroll{});
  s.panel.expanded = true;
  s.requests.push_back(view_request::ResetEndpointEditor{});
  if (panel == Panel::Explore) return;
  if (m.mode == TravelMode::Transit) {
    const bool has_dest = m.dest.has_value() || selected_place(s.model).has_value();
    if (m.transit.empty() && s.backend.pending_jobs == 0 && has_dest) start_transit_search(s);
  } else if (!m.route) {
    start_routing(s);
  }
}

void refresh_transit_search(Session& s) {
  if (s.model.mode == TravelMode::Transit) start_transit_search(s);
}

}  // namespace maps

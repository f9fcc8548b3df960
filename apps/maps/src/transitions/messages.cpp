#include "transitions/messages.hpp"

#include <algorithm>
#include <type_traits>

#include "app/maps_app.hpp"
#include "model/place_ops.hpp"
#include "transitions/commit.hpp"
#include "transitions/locating.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"
#include "transitions/selection.hpp"
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

void commit_transit_time(MapsApp& app, zarn_ui::state::State& state, TransitTime value) {
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::SetTransitTime{value}});
  refresh_transit_search(app);
}

void handle_search_box(MapsApp& app, const SearchBoxEvent& event, zarn_ui::state::State& state) {
  std::visit(Overloaded{
                 [&](const SearchBoxEvent::Opened&) { app.search_box.open(); },
                 [&](const SearchBoxEvent::Cleared&) {
                   app.search_box.clear_search_suggestions();
                   app.model.query.clear();
                   app.model.results.clear();
                 },
                 [&](const SearchBoxEvent::SuggestionChosen& e) {
                   const auto chosen = app.search_box.suggestion(e.index);
                   if (!chosen) return;
                   const Place place = *chosen;
                   app.search_box.close_search_suggestions();
                   commit_action(app.model, app.transient, app.commits, state,
                                 MapsAction{MapsAction::UpsertPlaces{{place}}});
                   app.model.query = place.name;
                   commit_action(app.model, app.transient, app.commits, state,
                                 MapsAction{MapsAction::CommitSearch{place.name}});
                   select_place(app, place.id);
                 },
                 [&](const SearchBoxEvent::Other&) {},
             },
             event.value);
}

// A result row may be a point of interest that the local search listed; it is stored before it
// is selected, so that the selection and its directions find it after the next document read.
void open_place(MapsApp& app, zarn_ui::state::State& state, const std::string& id) {
  if (!find_place(app.model, id)) {
    const auto& results = app.model.results;
    const auto row = std::find_if(results.begin(), results.end(), [&](const Place& p) { return p.id == id; });
    if (row != results.end()) keep_place(app, &state, Place(*row));
  }
  select_place(app, id);
}

}  // namespace

void handle_ui_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state) {
  MapModel& m = app.model;
  std::visit(
      Overloaded{
          [](const msg::Noop&) {},
          [&](const msg::SearchBox& e) { handle_search_box(app, e.event, state); },
          [&](const msg::TogglePanelCollapsed&) { app.panel.collapsed = !app.panel.collapsed; },
          [&](const msg::BackToPlaces&) {
            m.panel = Panel::Explore;
            app.endpoint_editor.reset_endpoint_editor();
            app.side_panel.reset_scroll();
          },
          [&](const msg::ChooseTravelMode& e) {
            if (e.mode == m.mode) return;
            commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::SetTravelMode{e.mode}});
            m.panel = Panel::Directions;
            // Decide on the requested mode: a stand-in commit may not have changed the model.
            if (e.mode == TravelMode::Transit) {
              start_transit_search(app);
            } else {
              start_routing(app);
            }
          },
          [&](const msg::OpenPlace& e) { open_place(app, state, e.id); },
          [&](const msg::OpenPoi& e) {
            for (const Poi& poi : app.backend.view_pois.pois) {
              if (poi.id != e.id) continue;
              m.center = poi.pos;
              app.selected_poi = poi.id;
              app.panel.expanded = true;
              return;
            }
          },
          [&](const msg::ClosePoi&) { app.selected_poi.reset(); },
          [&](const msg::DirectionsToPoi&) { directions_to_poi(app, state); },
          [&](const msg::SearchAgain& e) {
            m.query = e.text;
            submit_search(app, &state);
          },
          [&](const msg::ClearRecents&) {
            commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::ClearRecents{}});
          },
          [&](const msg::ToggleNavigation&) { app.panel.expanded = !app.panel.expanded; },
          [&](const msg::CloseNavigation&) { app.panel.expanded = false; },
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
            const auto offset = static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, 0, kMaxTransitOffsetMin));
            commit_transit_time(app, state, TransitTime{m.transit_time.mode, offset});
          },
          [&](const msg::LeaveNow&) {
            commit_transit_time(app, state, TransitTime{TransitTimeMode::Depart, 0});
          },
          [&](const msg::ChooseJourney& e) {
            m.transit_choice = e.index;
            fit_view_to_plan(app);
          },
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

void set_panel(MapsApp& app, Panel panel) {
  MapModel& m = app.model;
  m.panel = panel;
  app.side_panel.reset_scroll();
  app.panel.expanded = true;
  app.endpoint_editor.reset_endpoint_editor();
  if (panel == Panel::Explore) return;
  if (m.mode == TravelMode::Transit) {
    const bool has_dest = m.dest.has_value() || selected_place(app.model).has_value();
    if (m.transit.empty() && app.backend.pending_jobs == 0 && has_dest) start_transit_search(app);
  } else if (!m.route) {
    start_routing(app);
  }
}

void refresh_transit_search(MapsApp& app) {
  if (app.model.mode == TravelMode::Transit) start_transit_search(app);
}

}  // namespace maps

#include "transitions/plans.hpp"

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "geo/geo.hpp"
#include "model/place_ops.hpp"
#include "transitions/commit.hpp"
#include "transitions/search.hpp"
#include "transitions/selection.hpp"
#include "transitions/view.hpp"

namespace maps {
namespace {

// The destination, taken from the selected place when none is set; then the origin, the map
// centre standing in. Nothing when there is still no destination.
struct Endpoints {
  LatLon origin;
  LatLon dest;
};

// Closer than this, the map centre is the destination itself (a place just picked is centred).
constexpr double kCentreAtDestinationM = 100.0;

// The start of a plan when none is set: the map centre, named "Map centre"; but a centre on the
// destination would plan from the place to itself, so there the device position stands in when
// one is known, and otherwise there is no start.
std::optional<LatLon> stand_in_origin(MapsApp& app, LatLon dest) {
  MapModel& m = app.model;
  if (m.origin || !(haversine_m(m.center, dest) < kCentreAtDestinationM)) return use_map_centre_as_origin(app);
  if (!app.backend.location.located_fix) return std::nullopt;
  app.transient.set_origin_name(m, "Current location");
  return *app.backend.location.located_fix;
}

// No start to plan from: the start field waits for one, empty and focused, and no service is
// asked; what was shown for other endpoints goes, and an answer still on its way is dropped.
void ask_for_start(MapsApp& app) {
  MapModel& m = app.model;
  m.panel = Panel::Directions;
  app.panel.expanded = true;
  app.transient.set_route(m, std::nullopt);
  app.transient.set_transit(m, {});
  m.transit_choice = 0;
  app.backend.plans.latest.withdrawn = true;
  app.endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
}

std::optional<Endpoints> plan_endpoints(MapsApp& app) {
  if (!app.model.dest) set_destination_from_selection(app);
  if (!app.model.dest) return std::nullopt;
  const std::optional<LatLon> origin = stand_in_origin(app, *app.model.dest);  // may name the origin first
  if (!origin) {
    ask_for_start(app);
    return std::nullopt;
  }
  app.transient.set_origin(app.model, *origin, app.model.origin_name);
  return Endpoints{*origin, *app.model.dest};
}

// Numbers a new route or journey request and remembers what it was asked for.
std::uint64_t note_plan_request(MapsApp& app) {
  const MapModel& m = app.model;
  PlanRequest next;
  next.id = app.backend.plans.latest.id + 1;
  next.ends = PlanEndpoints{m.origin, m.origin_name, m.dest, m.dest_name};
  next.mode = m.mode;
  app.backend.plans.latest = std::move(next);
  return app.backend.plans.latest.id;
}

TransitQuery transit_query(const MapsApp& app) {
  const TransitTime& t = app.model.transit_time;
  TransitQuery query;
  if (t != TransitTime{TransitTimeMode::Depart, 0})
    query.time = app.now_local().plus_minutes(t.offset_min).to_rfc3339();
  query.arrive_by = t.mode == TransitTimeMode::Arrive;
  return query;
}

bool is_origin(EndpointField field) { return field == EndpointField::Origin; }

void show_local_suggestions(MapsApp& app, EndpointField field, const std::string& text) {
  app.endpoint_editor.set_endpoint_suggestions(field, search_local_places(app, text));
}

void on_text_edited(MapsApp& app, const EndpointEvent::TextEdited& e) {
  (is_origin(e.field) ? app.model.origin_query : app.model.dest_query) = e.text;
  show_local_suggestions(app, e.field, e.text);
}

void on_submitted(MapsApp& app, const EndpointEvent::Submitted& e) {
  show_local_suggestions(app, e.field, e.text);
  if (base::trim_white_space(e.text).empty()) return;
  app.set_status("Searching\u2026", StatusKind::InProgress);
  const std::uint8_t endpoint = endpoint_job_byte(e.field);
  if (!app.backend.live) {
    app.backend.start(EndpointSearchJob{e.text, endpoint});
    return;
  }
  // Sent once for a text and field, as the search box's searches are.
  switch (app.backend.endpoint_searches.ask(endpoint_search_key(e.text, endpoint))) {
    case LatestSearch::Ask::Send: app.backend.start(EndpointSearchJob{e.text, endpoint}); break;
    case LatestSearch::Ask::Answered:
      app.backend.answer_again(
          WorkerResult{worker::EndpointSearch{app.backend.endpoint_searches.answer(), e.text, endpoint}});
      break;
    case LatestSearch::Ask::Joined: break;
  }
}

void on_suggestion_chosen(MapsApp& app, const EndpointEvent::SuggestionChosen& e, zarn_ui::state::State* state) {
  const Place place = e.place;
  keep_place(app, state, place);
  MapModel& m = app.model;
  if (is_origin(e.field)) {
    app.transient.set_origin(m, place.pos, place.name);
    m.origin_query.clear();
  } else {
    app.transient.set_dest(m, place.pos, place.name);
    m.selected = place.id;
    m.dest_query.clear();
    // The map centre the user was looking at stands in for a missing origin, taken before the
    // map moves to the destination (else the plan would lead from the destination to itself).
    if (!m.origin) {
      if (const auto origin = stand_in_origin(app, place.pos)) app.transient.set_origin(m, *origin, m.origin_name);
    }
  }
  m.center = place.pos;
  request_plan(app);
}

void on_swap(MapsApp& app) {
  MapModel& m = app.model;
  if (!m.origin || !m.dest) return;
  const LatLon origin = *m.origin;
  const LatLon dest = *m.dest;
  std::string origin_name = m.origin_name;
  std::string dest_name = m.dest_name;
  app.transient.set_origin(m, dest, std::move(dest_name));
  app.transient.set_dest(m, origin, std::move(origin_name));
  request_plan(app);
}

}  // namespace

void request_plan(MapsApp& app) {
  if (app.model.mode == TravelMode::Transit) {
    start_transit_search(app);
  } else {
    start_routing(app);
  }
}

LatLon use_map_centre_as_origin(MapsApp& app) {
  if (app.model.origin) return *app.model.origin;
  app.transient.set_origin_name(app.model, "Map centre");
  return app.model.center;
}

void start_routing(MapsApp& app) {
  const auto ends = plan_endpoints(app);
  if (!ends) return;
  MapModel& m = app.model;
  app.panel.expanded = true;
  app.transient.set_route(m, offline_route_estimate(m.mode, ends->origin, ends->dest));
  fit_view_to_route(app);
  const std::uint64_t request = note_plan_request(app);
  app.set_status("Routing\u2026", StatusKind::InProgress);
  app.backend.start(RouteJob{m.mode, ends->origin, ends->dest, request});
}

void start_transit_search(MapsApp& app) {
  const auto ends = plan_endpoints(app);
  if (!ends) return;
  MapModel& m = app.model;
  m.panel = Panel::Directions;
  app.transient.set_mode(m, TravelMode::Transit);
  m.transit_choice = 0;
  app.transient.set_route(m, std::nullopt);
  app.panel.expanded = true;
  app.transient.set_transit(m, {});
  const std::uint64_t request = note_plan_request(app);
  app.set_status("Finding departures\u2026", StatusKind::InProgress);
  fit_view_to_points(app, {ends->origin, ends->dest});
  TransitJob job{transit_query(app), ends->origin, ends->dest, request};
  if (!app.backend.live) {
    app.backend.start(std::move(job));  // no job will answer; the count stays raised
    return;
  }
  // The request goes out once the asking pauses; a newer one in the meantime takes its place.
  app.backend.plans.journey_wait = JourneyWait{app.backend.now() + kJourneyAskPause, std::move(job)};
}

void send_waiting_journey_request(MapsApp& app) {
  if (!app.backend.plans.journey_wait || app.backend.now() < app.backend.plans.journey_wait->at) return;
  TransitJob job = std::move(app.backend.plans.journey_wait->job);
  app.backend.plans.journey_wait.reset();
  // Withdrawn, or replaced by a road route request since: nothing to ask.
  if (!answers_latest_plan_request(app, job.request)) return;
  app.backend.start(std::move(job));
}

bool journeys_awaited(const MapsApp& app) {
  return app.backend.pending_jobs > 0 || app.backend.plans.journey_wait.has_value();
}

// The estimate is the one route written over the document; an answered route is committed.
bool route_is_estimate(const MapsApp& app) { return app.transient.route && app.transient.route->has_value(); }

void open_directions(MapsApp& app) {
  set_destination_from_selection(app);
  app.model.panel = Panel::Directions;
  request_plan(app);
}

void show_transit_directions(MapsApp& app, zarn_ui::state::State& state) {
  set_destination_from_selection(app);
  commit_action(app.model, app.transient, app.commits, state,
                MapsAction{MapsAction::SetTravelMode{TravelMode::Transit}});
  start_transit_search(app);
}

void directions_to_poi(MapsApp& app, zarn_ui::state::State& state) {
  if (!app.selected_poi) return;
  const Poi* poi = nullptr;
  for (const Poi& p : app.backend.view_pois.pois) {
    if (p.id == *app.selected_poi) {
      poi = &p;
      break;
    }
  }
  if (!poi) return;
  const Place place = new_place(poi->id, poi->name, poi->category, poi->address, poi->pos);
  // Stored through the document, or the next reading of it would take the place away and leave
  // the selection naming nothing.
  keep_place(app, &state, place);
  app.model.selected = place.id;
  app.transient.set_dest(app.model, place.pos, place.name);
  app.model.panel = Panel::Directions;
  app.selected_poi.reset();
  request_plan(app);
}

void handle_endpoint_editor_event(MapsApp& app, const EndpointEvent& event, zarn_ui::state::State* state) {
  std::visit(
      [&](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, EndpointEvent::TextEdited>) {
          on_text_edited(app, e);
        } else if constexpr (std::is_same_v<E, EndpointEvent::Submitted>) {
          on_submitted(app, e);
        } else if constexpr (std::is_same_v<E, EndpointEvent::SuggestionChosen>) {
          on_suggestion_chosen(app, e, state);
        } else if constexpr (std::is_same_v<E, EndpointEvent::Swap>) {
          on_swap(app);
        }
      },
      event.value);
}

std::string endpoint_search_key(std::string_view text, std::uint8_t endpoint) {
  std::string key(text);
  key += '\n';
  key += static_cast<char>('0' + endpoint);
  return key;
}

bool answers_latest_plan_request(const MapsApp& app, std::uint64_t request) {
  const PlanRequest& latest = app.backend.plans.latest;
  if (request != latest.id || latest.withdrawn) return false;
  // Before any request there is nothing to compare the mode with.
  return !latest.ends || app.model.mode == latest.mode;
}

PlanEndpoints plan_answer_endpoints(const MapsApp& app) {
  const MapModel& m = app.model;
  PlanEndpoints now{m.origin, m.origin_name, m.dest, m.dest_name};
  if (!app.backend.plans.latest.ends) return now;
  PlanEndpoints asked = *app.backend.plans.latest.ends;
  if (now.origin == asked.origin) asked.origin_name = std::move(now.origin_name);
  if (now.dest == asked.dest) asked.dest_name = std::move(now.dest_name);
  return asked;
}

void clear_route(MapsApp& app, zarn_ui::state::State& state) {
  // A road route still on its way would bring the cleared route back.
  if (app.backend.plans.latest.mode != TravelMode::Transit) app.backend.plans.latest.withdrawn = true;
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::ClearRoute{}});
  // The route ends with its start (the document's writer ends the stored one); the destination
  // stays in its field for the next plan.
  app.transient.set_origin(app.model, std::nullopt, "Map centre");
  app.navigation.reset();
}

}  // namespace maps

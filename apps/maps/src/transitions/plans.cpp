#include "transitions/plans.hpp"

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "base/text.hpp"
#include "geo/geo.hpp"
#include "model/place_ops.hpp"
#include "transitions/commit.hpp"
#include "transitions/search.hpp"
#include "transitions/selection.hpp"
#include "transitions/session.hpp"
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
std::optional<LatLon> stand_in_origin(Session& s, LatLon dest) {
  MapModel& m = s.model;
  if (m.origin || !(haversine_m(m.center, dest) < kCentreAtDestinationM)) return use_map_centre_as_origin(s);
  if (!s.backend.location.located_fix) return std::nullopt;
  s.transient.set_origin_name(m, "Current location");
  return *s.backend.location.located_fix;
}

// No start to plan from: the start field waits for one, empty and focused, and no service is
// asked; what was shown for other endpoints goes, and an answer still on its way is dropped.
void ask_for_start(Session& s) {
  MapModel& m = s.model;
  m.panel = Panel::Directions;
  s.panel.expanded = true;
  s.transient.set_route(m, std::nullopt);
  s.transient.set_transit(m, {});
  m.transit_choice = 0;
  s.backend.plans.latest.withdrawn = true;
  s.requests.push_back(view_request::EditEndpoint{EndpointField::Origin});
}

std::optional<Endpoints> plan_endpoints(Session& s) {
  if (!s.model.dest) set_destination_from_selection(s);
  if (!s.model.dest) return std::nullopt;
  const std::optional<LatLon> origin = stand_in_origin(s, *s.model.dest);  // may name the origin first
  if (!origin) {
    ask_for_start(s);
    return std::nullopt;
  }
  s.transient.set_origin(s.model, *origin, s.model.origin_name);
  return Endpoints{*origin, *s.model.dest};
}

// Numbers a new route or journey request and remembers what it was asked for.
std::uint64_t note_plan_request(Session& s) {
  const MapModel& m = s.model;
  PlanRequest next;
  next.id = s.backend.plans.latest.id + 1;
  next.ends = PlanEndpoints{m.origin, m.origin_name, m.dest, m.dest_name};
  next.mode = m.mode;
  s.backend.plans.latest = std::move(next);
  return s.backend.plans.latest.id;
}

TransitQuery transit_query(const Session& s) {
  const TransitTime& t = s.model.transit_time;
  TransitQuery query;
  if (t != TransitTime{TransitTimeMode::Depart, 0}) query.time = s.now_local().plus_minutes(t.offset_min).to_rfc3339();
  query.arrive_by = t.mode == TransitTimeMode::Arrive;
  return query;
}

bool is_origin(EndpointField field) { return field == EndpointField::Origin; }

void show_local_suggestions(Session& s, EndpointField field, const std::string& text) {
  s.requests.push_back(view_request::EndpointSuggestions{field, search_local_places(s.model, s.backend, text)});
}

void on_text_edited(Session& s, const EndpointEvent::TextEdited& e) {
  (is_origin(e.field) ? s.model.origin_query : s.model.dest_query) = e.text;
  show_local_suggestions(s, e.field, e.text);
}

void on_submitted(Session& s, const EndpointEvent::Submitted& e) {
  show_local_suggestions(s, e.field, e.text);
  if (base::trim_white_space(e.text).empty()) return;
  s.set_status("Searching\u2026", StatusKind::InProgress);
  if (!s.backend.live) {
    s.backend.start(EndpointSearchJob{e.text, e.field});
    return;
  }
  // Sent once for a text and field, as the search box's searches are.
  switch (s.backend.endpoint_searches.ask(endpoint_search_key(e.text, e.field))) {
    case LatestSearch::Ask::Send: s.backend.start(EndpointSearchJob{e.text, e.field}); break;
    case LatestSearch::Ask::Answered:
      s.backend.answer_again(
          WorkerResult{worker::EndpointSearch{s.backend.endpoint_searches.answer(), e.text, e.field}});
      break;
    case LatestSearch::Ask::Joined: break;
  }
}

void on_suggestion_chosen(Session& s, const EndpointEvent::SuggestionChosen& e, zarn_ui::state::State* state) {
  const Place place = e.place;
  keep_place(s, state, place);
  MapModel& m = s.model;
  if (is_origin(e.field)) {
    s.transient.set_origin(m, place.pos, place.name);
    m.origin_query.clear();
  } else {
    s.transient.set_dest(m, place.pos, place.name);
    m.selected = place.id;
    m.dest_query.clear();
    // The map centre the user was looking at stands in for a missing origin, taken before the
    // map moves to the destination (else the plan would lead from the destination to itself).
    if (!m.origin) {
      if (const auto origin = stand_in_origin(s, place.pos)) s.transient.set_origin(m, *origin, m.origin_name);
    }
  }
  centre_view_on(s, place.pos);
  request_plan(s);
}

void on_swap(Session& s) {
  MapModel& m = s.model;
  if (!m.origin || !m.dest) return;
  const LatLon origin = *m.origin;
  const LatLon dest = *m.dest;
  std::string origin_name = m.origin_name;
  std::string dest_name = m.dest_name;
  s.transient.set_origin(m, dest, std::move(dest_name));
  s.transient.set_dest(m, origin, std::move(origin_name));
  request_plan(s);
}

}  // namespace

void request_plan(Session& s) {
  if (s.model.mode == TravelMode::Transit) {
    start_transit_search(s);
  } else {
    start_routing(s);
  }
}

LatLon use_map_centre_as_origin(Session& s) {
  if (s.model.origin) return *s.model.origin;
  s.transient.set_origin_name(s.model, "Map centre");
  return s.model.center;
}

void start_routing(Session& s) {
  const auto ends = plan_endpoints(s);
  if (!ends) return;
  MapModel& m = s.model;
  s.panel.expanded = true;
  s.transient.set_route(m, offline_route_estimate(m.mode, ends->origin, ends->dest));
  fit_view_to_route(s);
  const std::uint64_t request = note_plan_request(s);
  s.set_status("Routing\u2026", StatusKind::InProgress);
  s.backend.start(RouteJob{m.mode, ends->origin, ends->dest, request});
}

void start_transit_search(Session& s) {
  const auto ends = plan_endpoints(s);
  if (!ends) return;
  MapModel& m = s.model;
  m.panel = Panel::Directions;
  s.transient.set_mode(m, TravelMode::Transit);
  m.transit_choice = 0;
  s.transient.set_route(m, std::nullopt);
  s.panel.expanded = true;
  s.transient.set_transit(m, {});
  const std::uint64_t request = note_plan_request(s);
  s.set_status("Finding departures\u2026", StatusKind::InProgress);
  fit_view_to_points(s, {ends->origin, ends->dest});
  TransitJob job{transit_query(s), ends->origin, ends->dest, request};
  if (!s.backend.live) {
    s.backend.start(std::move(job));  // no job will answer; the count stays raised
    return;
  }
  // The request goes out once the asking pauses; a newer one in the meantime takes its place.
  s.backend.plans.journey_wait = JourneyWait{s.backend.now() + kJourneyAskPause, std::move(job)};
}

void send_waiting_journey_request(Session& s) {
  if (!s.backend.plans.journey_wait || s.backend.now() < s.backend.plans.journey_wait->at) return;
  TransitJob job = std::move(s.backend.plans.journey_wait->job);
  s.backend.plans.journey_wait.reset();
  // Withdrawn, or replaced by a road route request since: nothing to ask.
  if (!answers_latest_plan_request(s, job.request)) return;
  s.backend.start(std::move(job));
}

bool journeys_awaited(const Backend& backend) {
  return backend.pending_jobs > 0 || backend.plans.journey_wait.has_value();
}

// The estimate is the one route written over the document; an answered route is committed.
bool route_is_estimate(const TransientOverlay& transient) { return transient.route && transient.route->has_value(); }

void open_directions(Session& s) {
  set_destination_from_selection(s);
  s.model.panel = Panel::Directions;
  request_plan(s);
}

void show_transit_directions(Session& s, zarn_ui::state::State& state) {
  set_destination_from_selection(s);
  commit_action(s.model, s.transient, s.commits, state, MapsAction{MapsAction::SetTravelMode{TravelMode::Transit}});
  start_transit_search(s);
}

void directions_to_poi(Session& s, zarn_ui::state::State& state) {
  if (!s.selected_poi) return;
  const Poi* poi = nullptr;
  for (const Poi& p : s.backend.view_pois.pois) {
    if (p.id == *s.selected_poi) {
      poi = &p;
      break;
    }
  }
  if (!poi) return;
  const Place place = new_place(poi->id, poi->name, poi->category, poi->address, poi->pos);
  // Stored through the document, or the next reading of it would take the place away and leave
  // the selection naming nothing.
  keep_place(s, &state, place);
  s.model.selected = place.id;
  s.transient.set_dest(s.model, place.pos, place.name);
  s.model.panel = Panel::Directions;
  s.selected_poi.reset();
  request_plan(s);
}

void handle_endpoint_editor_event(Session& s, const EndpointEvent& event, zarn_ui::state::State* state) {
  std::visit(
      [&](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if constexpr (std::is_same_v<E, EndpointEvent::TextEdited>) {
          on_text_edited(s, e);
        } else if constexpr (std::is_same_v<E, EndpointEvent::Submitted>) {
          on_submitted(s, e);
        } else if constexpr (std::is_same_v<E, EndpointEvent::SuggestionChosen>) {
          on_suggestion_chosen(s, e, state);
        } else if constexpr (std::is_same_v<E, EndpointEvent::Swap>) {
          on_swap(s);
        }
      },
      event.value);
}

std::string endpoint_search_key(std::string_view text, EndpointField field) {
  std::string key(text);
  key += '\n';
  key += field == EndpointField::Origin ? 'o' : 'd';
  return key;
}

bool answers_latest_plan_request(const Session& s, std::uint64_t request) {
  const PlanRequest& latest = s.backend.plans.latest;
  if (request != latest.id || latest.withdrawn) return false;
  // Before any request there is nothing to compare the mode with.
  return !latest.ends || s.model.mode == latest.mode;
}

PlanEndpoints plan_answer_endpoints(const Session& s) {
  const MapModel& m = s.model;
  PlanEndpoints now{m.origin, m.origin_name, m.dest, m.dest_name};
  if (!s.backend.plans.latest.ends) return now;
  PlanEndpoints asked = *s.backend.plans.latest.ends;
  if (now.origin == asked.origin) asked.origin_name = std::move(now.origin_name);
  if (now.dest == asked.dest) asked.dest_name = std::move(now.dest_name);
  return asked;
}

void clear_route(Session& s, zarn_ui::state::State& state) {
  // A road route still on its way would bring the cleared route back.
  if (s.backend.plans.latest.mode != TravelMode::Transit) s.backend.plans.latest.withdrawn = true;
  s.commit(state, MapsAction{MapsAction::ClearRoute{}});
  // The route ends with its start (the document's writer ends the stored one); the destination
  // stays in its field for the next plan.
  s.transient.set_origin(s.model, std::nullopt, "Map centre");
  s.requests.push_back(view_request::ResetNavigation{});
}

}  // namespace maps

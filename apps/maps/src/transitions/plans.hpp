#pragma once
// Routes and journeys: opening the directions, asking for a plan, the endpoint editor's events,
// and ending a route. The endpoints, the route estimate, the emptied journey list and the travel
// mode a plan request writes are laid over the document's values (the session's transient overlay) until the
// plan that answers it is committed.

#include <cstdint>
#include <string>
#include <string_view>

#include "backend/plan_request.hpp"
#include "messages/endpoint_event.hpp"
#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class Backend;
struct TransientOverlay;
struct Session;

// A road route, or journeys in the Transit mode, for the current endpoints.
void request_plan(Session& s);
// The origin when set; otherwise the map centre, and the origin is named "Map centre" (the
// caller sets the origin itself).
LatLon use_map_centre_as_origin(Session& s);
// Without a destination (nor a selected place to take it from) nothing happens. Otherwise the
// origin falls back to the map centre, the offline estimate is shown at once and the view fits
// it, "Routing…", and a live state asks the routing service.
void start_routing(Session& s);
// The same endpoints; the Directions panel in Transit mode, the road route and the journey list
// emptied, "Finding departures…", the view fitted to the two ends, and a live state asks the
// journey planner (leaving now, or at the chosen time, or arriving by it) once no newer journey
// request has come for kJourneyAskPause (send_waiting_journey_request).
void start_transit_search(Session& s);
// The waiting journey request, once its pause is over and it is still the latest plan request.
void send_waiting_journey_request(Session& s);
// Whether journeys are on their way or about to be asked for.
bool journeys_awaited(const Backend& backend);
// Whether the road route shown is the offline estimate (while the service is asked, or after
// it could not answer) rather than the service's route.
bool route_is_estimate(const TransientOverlay& transient);
// Directions to the selected place.
void open_directions(Session& s);
void show_transit_directions(Session& s, zarn_ui::state::State& state);
// Directions to the selected point of interest, stored as a place first.
void directions_to_poi(Session& s, zarn_ui::state::State& state);
// The endpoint editor's events: edited texts show local suggestions, a submitted text asks the
// geocoder, a chosen suggestion becomes that endpoint (stored as a place, committed when `state`
// is given) and swapping exchanges the two; both of the last ask for a new plan.
void handle_endpoint_editor_event(Session& s, const EndpointEvent& event, zarn_ui::state::State* state = nullptr);
// What the latest endpoint search is known by: its text and its field.
std::string endpoint_search_key(std::string_view text, EndpointField field);
// Whether a route or journey answer numbered `request` answers the latest plan request, which
// was neither withdrawn nor made for another travel mode than the current one.
bool answers_latest_plan_request(const Session& s, std::uint64_t request);
// The endpoints an answer to the latest plan request is committed with: those the request was
// made for. A name given since to the same position (the address found for a location fix)
// is kept. Before any request, the current endpoints.
PlanEndpoints plan_answer_endpoints(const Session& s);
// Commits the end of the route and docks the navigation panel again; a road route still on its
// way is dropped when it comes. The start ends with the route; the destination stays.
void clear_route(Session& s, zarn_ui::state::State& state);

}  // namespace maps

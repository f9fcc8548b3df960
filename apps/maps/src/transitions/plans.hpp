#pragma once
// Routes and journeys: opening the directions, asking for a plan, the endpoint editor's events,
// and ending a route.

#include "directions/endpoint_event.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// A road route, or journeys in the Transit mode, for the current endpoints.
void request_plan(MapsApp& app);
void start_routing(MapsApp& app);
void start_transit_search(MapsApp& app);
// Directions to the selected place.
void open_directions(MapsApp& app);
void show_transit_directions(MapsApp& app, zarn_ui::state::State& state);
// Directions to the selected point of interest, kept as a place.
void directions_to_poi(MapsApp& app);
void handle_endpoint_editor_event(MapsApp& app, const EndpointEvent& event);
// Commits the end of the route and docks the navigation panel again.
void clear_route(MapsApp& app, zarn_ui::state::State& state);

}  // namespace maps

#include "transitions/plans.hpp"

#include "app/dispatch.hpp"
#include "app/maps_app.hpp"
#include "transitions/selection.hpp"

namespace maps {

void request_plan(MapsApp& app) {
  if (app.model.mode == TravelMode::Transit) {
    start_transit_search(app);
  } else {
    start_routing(app);
  }
}

// Asks for no route.
void start_routing(MapsApp& /*app*/) {}

// Asks for no journeys.
void start_transit_search(MapsApp& /*app*/) {}

void open_directions(MapsApp& app) {
  set_destination_from_selection(app);
  app.model.panel = Panel::Directions;
  request_plan(app);
}

void show_transit_directions(MapsApp& app, zarn_ui::state::State& state) {
  set_destination_from_selection(app);
  commit_action(app, state, MapsAction{MapsAction::SetTravelMode{TravelMode::Transit}});
  start_transit_search(app);
}

void directions_to_poi(MapsApp& app) {
  if (!app.selected_poi) return;
  const Poi* poi = nullptr;
  for (const Poi& p : app.pois) {
    if (p.id == *app.selected_poi) {
      poi = &p;
      break;
    }
  }
  if (!poi) return;
  const Place place = new_place(poi->id, poi->name, poi->category, poi->address, poi->pos);
  app.upsert_place(place);
  app.model.selected = place.id;
  app.transient.set_dest(app.model, place.pos, place.name);
  app.model.panel = Panel::Directions;
  app.selected_poi.reset();
  request_plan(app);
}

// Leaves the endpoints and the plan as they are.
void handle_endpoint_editor_event(MapsApp& /*app*/, const EndpointEvent& /*event*/) {}

void clear_route(MapsApp& app, zarn_ui::state::State& state) {
  commit_action(app, state, MapsAction{MapsAction::ClearRoute{}});
  app.navigation.reset();
}

}  // namespace maps

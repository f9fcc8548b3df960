#include <algorithm>
#include <iterator>

#include "sample/sample_data.hpp"

namespace maps {

namespace {

void toggle_saved(std::vector<Place>& places, std::string_view id) {
  for (Place& p : places) {
    if (p.id == id) {
      p.saved = !p.saved;
      return;
    }
  }
}

}  // namespace

MapModel sample_map_model() {
  MapModel model = default_map_model();
  model.places = sample_places();
  toggle_saved(model.places, "hofgarten");
  toggle_saved(model.places, "cafe-glueck");
  model.recents = {"Marienplatz", "coffee near me", "Hauptbahnhof"};
  std::copy_if(model.places.begin(), model.places.end(), std::back_inserter(model.results), sample_results_filter);
  model.selected = "marienplatz";
  model.origin = LatLon{48.1227, 11.552};
  model.origin_name = "Sendling, München";
  model.dest = LatLon{48.1371, 11.5754};
  model.dest_name = "Marienplatz";
  model.route = sample_route_steps();
  model.transit = sample_transit_journeys();
  model.panel = Panel::Directions;
  model.mode = TravelMode::Car;
  model.query = "Marienplatz";
  model.center = {48.1331, 11.5724};
  model.zoom = 14.6;
  return model;
}

}  // namespace maps

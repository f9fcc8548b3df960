#pragma once
// Values the state writes straight into its persisted fields without committing an action: a
// location fix and its address, chosen endpoints, the offline route estimate, the emptied
// journey list and route of a journey search, the travel mode it switches to. Hydration copies those fields from the
// document on every frame and would undo them, so the overlay remembers each one and is re-applied after every
// hydration, until an action that commits the same field covers it:
//   SetRoute      covers the four endpoint fields, the route and the travel mode,
//   SetTransit    covers the four endpoint fields, the journey list and the travel mode,
//   ClearRoute    covers the route,
//   ClearTransit  covers the journey list,
//   SetTravelMode covers the travel mode.
// Every other field keeps the document as its source of truth.

#include <optional>
#include <string>
#include <vector>

#include "model/records.hpp"

namespace maps {

struct TransientOverlay {
  // An engaged outer optional means "held"; the inner value may itself be none.
  std::optional<std::optional<LatLon>> origin;
  std::optional<std::string> origin_name;
  std::optional<std::optional<LatLon>> dest;
  std::optional<std::string> dest_name;
  std::optional<std::optional<Route>> route;
  std::optional<std::vector<TransitJourney>> transit;
  std::optional<TravelMode> mode;
  bool operator==(const TransientOverlay&) const = default;

  // Each setter writes the model and remembers the value; call them instead of assigning.
  void set_origin(MapModel& model, std::optional<LatLon> pos, std::string name);
  void set_origin_name(MapModel& model, std::string name);
  void set_dest(MapModel& model, std::optional<LatLon> pos, std::string name);
  void set_route(MapModel& model, std::optional<Route> value);
  void set_transit(MapModel& model, std::vector<TransitJourney> value);
  void set_mode(MapModel& model, TravelMode value);

  // Forgets what the action commits; call before dispatching it.
  void cover(const MapsAction& action);
  // Writes every held value into the model; call after hydrating it.
  void apply(MapModel& model) const;
  bool empty() const;
};

}  // namespace maps

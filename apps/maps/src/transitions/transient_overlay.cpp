#include "transitions/transient_overlay.hpp"

#include <type_traits>
#include <utility>
#include <variant>

namespace maps {

void TransientOverlay::set_origin(MapModel& model, std::optional<LatLon> pos, std::string name) {
  model.origin = pos;
  model.origin_name = name;
  origin = pos;
  origin_name = std::move(name);
}

void TransientOverlay::set_origin_name(MapModel& model, std::string name) {
  model.origin_name = name;
  origin_name = std::move(name);
}

void TransientOverlay::set_dest(MapModel& model, std::optional<LatLon> pos, std::string name) {
  model.dest = pos;
  model.dest_name = name;
  dest = pos;
  dest_name = std::move(name);
}

void TransientOverlay::set_route(MapModel& model, std::optional<Route> value) {
  model.route = value;
  route = std::move(value);
}

void TransientOverlay::set_transit(MapModel& model, std::vector<TransitJourney> value) {
  model.transit = value;
  transit = std::move(value);
}

void TransientOverlay::set_mode(MapModel& model, TravelMode value) {
  model.mode = value;
  mode = value;
}

void TransientOverlay::cover(const MapsAction& action) {
  const auto forget_endpoints = [this] {
    origin.reset();
    origin_name.reset();
    dest.reset();
    dest_name.reset();
  };
  std::visit(
      [&](const auto& a) {
        using A = std::decay_t<decltype(a)>;
        if constexpr (std::is_same_v<A, MapsAction::SetRoute>) {
          forget_endpoints();
          route.reset();
          mode.reset();
        } else if constexpr (std::is_same_v<A, MapsAction::SetTransit>) {
          forget_endpoints();
          transit.reset();
          mode.reset();
        } else if constexpr (std::is_same_v<A, MapsAction::ClearRoute>) {
          route.reset();
        } else if constexpr (std::is_same_v<A, MapsAction::ClearTransit>) {
          transit.reset();
        } else if constexpr (std::is_same_v<A, MapsAction::SetTravelMode>) {
          mode.reset();
        }
      },
      action.value);
}

void TransientOverlay::apply(MapModel& model) const {
  if (origin) model.origin = *origin;
  if (origin_name) model.origin_name = *origin_name;
  if (dest) model.dest = *dest;
  if (dest_name) model.dest_name = *dest_name;
  if (route) model.route = *route;
  if (transit) model.transit = *transit;
  if (mode) model.mode = *mode;
}

bool TransientOverlay::empty() const { return *this == TransientOverlay{}; }

}  // namespace maps

#pragma once
// What each kind of request job captures. The thread owns its copy; nothing is shared.

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "messages/endpoint_field.hpp"
#include "model/records.hpp"
#include "net/transit.hpp"

namespace maps {

struct PlaceSearchJob {
  std::string query;
  bool operator==(const PlaceSearchJob&) const = default;
};
struct EndpointSearchJob {
  std::string query;
  EndpointField field = EndpointField::Destination;
  bool operator==(const EndpointSearchJob&) const = default;
};
struct AreaSearchJob {
  std::string query;
  bool operator==(const AreaSearchJob&) const = default;
};
struct ReverseGeocodeJob {
  double lat = 0.0;
  double lon = 0.0;
  bool operator==(const ReverseGeocodeJob&) const = default;
};
struct PoiJob {
  double min_lat = 0.0;
  double min_lon = 0.0;
  double max_lat = 0.0;
  double max_lon = 0.0;
  std::uint64_t generation = 0;
  bool operator==(const PoiJob&) const = default;
};
struct RouteJob {
  TravelMode mode = TravelMode::Car;
  LatLon from;
  LatLon to;
  std::uint64_t request = 0;  // the number of the plan request, echoed by the answer
  bool operator==(const RouteJob&) const = default;
};
struct TransitJob {
  TransitQuery query;
  LatLon from;
  LatLon to;
  std::uint64_t request = 0;  // the number of the plan request, echoed by the answer
  bool operator==(const TransitJob&) const = default;
};

using JobRequest =
    std::variant<PlaceSearchJob, EndpointSearchJob, AreaSearchJob, ReverseGeocodeJob, PoiJob, RouteJob, TransitJob>;

}  // namespace maps

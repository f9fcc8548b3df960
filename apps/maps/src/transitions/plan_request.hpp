#pragma once
// The latest road-route or journey request. Route and journey answers come back in the order
// their threads finish, so each request is numbered and its job echoes the number: only the
// answer to the latest request is applied, and it is committed with the endpoints that request
// was made for, not with what the endpoints became while the answer was on its way. An answer
// is also dropped once its request was withdrawn (the route was cleared) or the travel mode is
// no longer the one it was asked for.

#include <cstdint>
#include <optional>
#include <string>

#include "model/records.hpp"

namespace maps {

struct PlanEndpoints {
  std::optional<LatLon> origin;
  std::string origin_name;
  std::optional<LatLon> dest;
  std::string dest_name;
  bool operator==(const PlanEndpoints&) const = default;
};

struct PlanRequest {
  // 0 until the first request; then the number of the latest one.
  std::uint64_t id = 0;
  // The endpoints the latest request was made for.
  std::optional<PlanEndpoints> ends;
  // The travel mode it was made for; Transit for a journey search.
  TravelMode mode = TravelMode::Car;
  // Set when the plan it asks for was cleared before its answer came.
  bool withdrawn = false;
  bool operator==(const PlanRequest&) const = default;
};

}  // namespace maps

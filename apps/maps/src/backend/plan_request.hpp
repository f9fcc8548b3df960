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

#include "base/mono_clock.hpp"
#include "model/records.hpp"
#include "net/jobs.hpp"

namespace maps {

struct PlanEndpoints {
  std::optional<LatLon> origin;
  std::string origin_name;
  std::optional<LatLon> dest;
  std::string dest_name;
  bool operator==(const PlanEndpoints&) const = default;
};

// What became of the latest request.
enum class PlanOutcome : std::uint8_t {
  Waiting,      // asked, no answer yet
  Answered,     // the plan came and was committed
  Unavailable,  // the service could not be asked or its answer not read; an estimate may stand in
  NoPlan,       // the service answered that it has no route between the endpoints
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
  PlanOutcome outcome = PlanOutcome::Waiting;
  // With Unavailable: the status that told of the failure, for the panel that waited.
  std::string failure;
  bool operator==(const PlanRequest&) const = default;
};

// Journeys are asked for once the asking pauses: shifting the journey time step by step, or a
// held key, would otherwise send a request for every step. Only the last request goes out.
inline constexpr std::chrono::milliseconds kJourneyAskPause{300};
struct JourneyWait {
  base::MonoTime at;
  TransitJob job;
};

}  // namespace maps

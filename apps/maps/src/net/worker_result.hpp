#pragma once
// The message a request thread sends to the UI thread: one variant per job kind; an error keeps
// its kind (unreachable, the service's error, timed out, unreadable, no result) beside its text.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "base/result.hpp"
#include "messages/endpoint_field.hpp"
#include "model/records.hpp"
#include "net/geocoding.hpp"

namespace maps {

namespace worker {
struct PlaceSearch {
  base::Result<std::vector<Place>> result;
  std::string query;  // the text the job searched for, so the tick can tell answers apart
  bool operator==(const PlaceSearch&) const = default;
};
struct EndpointSearch {
  base::Result<std::vector<Place>> result;
  std::string query;
  EndpointField field = EndpointField::Destination;
  bool operator==(const EndpointSearch&) const = default;
};
struct ReverseGeocode {
  base::Result<std::string> result;
  bool operator==(const ReverseGeocode&) const = default;
};
struct Route {
  base::Result<maps::Route> result;
  std::uint64_t request = 0;  // the plan request it answers; an earlier one's answer is dropped
  bool operator==(const Route&) const = default;
};
struct Transit {
  base::Result<std::vector<TransitJourney>> result;
  std::uint64_t request = 0;  // the plan request it answers; an earlier one's answer is dropped
  bool operator==(const Transit&) const = default;
};
struct Pois {
  base::Result<std::vector<Poi>> result;
  std::uint64_t generation = 0;  // answers of an older viewport are dropped by this
  bool operator==(const Pois&) const = default;
};
struct AreaSearch {
  base::Result<std::vector<AreaCandidate>> result;
  std::string query;
  bool operator==(const AreaSearch&) const = default;
};
// A request that a newer one of its kind replaced before it went out. It still answers once, so
// that the pending count comes down; it carries nothing to show.
struct Superseded {
  bool operator==(const Superseded&) const = default;
};
}  // namespace worker

using WorkerResult = std::variant<worker::PlaceSearch, worker::EndpointSearch, worker::ReverseGeocode, worker::Route,
                                  worker::Transit, worker::Pois, worker::AreaSearch, worker::Superseded>;

}  // namespace maps

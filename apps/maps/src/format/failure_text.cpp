#include "format/failure_text.hpp"

#include <fmt/format.h>

namespace maps {

std::string_view service_name(Service service) {
  switch (service) {
    case Service::Geocoder: return "the search service";
    case Service::Places: return "the places service";
    case Service::Router: return "the routing service";
    case Service::Planner: return "the transit planner";
    case Service::Tiles: return "the map tile server";
    case Service::Location: return "the location service";
  }
  return "the service";
}

namespace {

std::string no_result_text(Service service) {
  switch (service) {
    case Service::Router: return "no route between these points";
    case Service::Planner: return "no journey between these points";
    case Service::Geocoder: return "no address for this location";
    default: break;
  }
  return fmt::format("nothing found by {}", service_name(service));
}

}  // namespace

std::string failure_text(Service service, const base::Error& error) {
  using K = base::ErrorKind;
  const std::string_view name = service_name(service);
  if (service == Service::Location) {
    // The portal's own words are the person's where they are short and plain. The rest reads as
    // for any service: after "Location unavailable — " a bare "location not available" said
    // nothing new.
    switch (error.kind) {
      case K::TimedOut: return "no location fix in time";
      case K::NoResult: return "no location fix available";
      case K::ServiceError:
        if (!error.message.empty()) return error.message;
        break;
      default: break;
    }
  }
  switch (error.kind) {
    case K::Unreachable: return fmt::format("cannot reach {}", name);
    case K::ServiceError:
      // A public service's way of saying "not so fast": waiting is what helps, not a retry now.
      if (error.http_status == 429) return fmt::format("{} is busy, try again shortly", name);
      if (error.http_status > 0) return fmt::format("{} answered with an error (HTTP {})", name, error.http_status);
      return fmt::format("{} reported an error", name);
    case K::TimedOut: return fmt::format("{} did not answer in time", name);
    case K::BadReply: return fmt::format("unexpected answer from {}", name);
    case K::NoResult: return no_result_text(service);
    case K::Cancelled: return "request cancelled";
    case K::Other: break;
  }
  return fmt::format("could not ask {}", name);
}

}  // namespace maps

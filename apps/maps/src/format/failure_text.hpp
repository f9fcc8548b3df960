#pragma once
// What a person is told when a service fails: a short text for the kind of failure and the
// service, never the libraries' own texts (those go to the log).

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.hpp"

namespace maps {

// The services the app asks, as the person knows them.
enum class Service : std::uint8_t { Geocoder, Places, Router, Planner, Tiles, Location };

// "the search service", "the map tile server", ...
std::string_view service_name(Service service);

// "cannot reach the search service", "the routing service answered with an error (HTTP 503)",
// "the transit planner did not answer in time", "unexpected answer from the places service", ...
std::string failure_text(Service service, const base::Error& error);

}  // namespace maps

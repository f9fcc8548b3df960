#pragma once
// Road routes for car, bicycle and foot from an OSRM routing service.

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/result.hpp"
#include "model/records.hpp"
#include "net/http_get.hpp"
#include "net/service_hosts.hpp"

namespace maps {

std::string_view osrm_profile(TravelMode mode);
std::string osrm_route_url(const ServiceHosts& hosts, TravelMode mode, LatLon from, LatLon to);

Maneuver maneuver_from_osrm(std::string_view type, std::string_view modifier);
// The English instruction for a manoeuvre on a street (which may be unnamed).
std::string step_instruction(Maneuver maneuver, std::string_view name);
// A GeoJSON [lon, lat] pair; both must be numbers.
std::optional<LatLon> json_coord_pair(const nlohmann::json& value);

// The first route of a reply; the route keeps the requested mode and endpoints.
base::Result<Route> parse_osrm_route(const nlohmann::json& reply, TravelMode mode, LatLon from, LatLon to);

// A whole reply. The service sends its errors (NoRoute, NoSegment, ...) with a 4xx status and a
// JSON body holding the `code`: such a reply is read as that error. Any other status outside
// 2xx is "HTTP {status}".
base::Result<Route> parse_osrm_reply(const HttpReply& reply, TravelMode mode, LatLon from, LatLon to);

base::Result<Route> fetch_route(const ServiceHosts& hosts, TravelMode mode, LatLon from, LatLon to);

}  // namespace maps

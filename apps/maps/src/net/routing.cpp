#include "net/routing.hpp"

#include <fmt/format.h>

#include "net/http_client.hpp"
#include "net/json_read.hpp"
#include "net/polyline.hpp"

namespace maps {

namespace jr = json_read;

std::string_view osrm_profile(TravelMode mode) {
  switch (mode) {
    case TravelMode::Bike: return "cycling";
    case TravelMode::Foot: return "foot";
    case TravelMode::Car:
    case TravelMode::Transit: break;
  }
  return "driving";
}

std::string osrm_route_url(const ServiceHosts& hosts, TravelMode mode, LatLon from, LatLon to) {
  return service_url(hosts.osrm,
                     fmt::format("/route/v1/{}/{:.6f},{:.6f};{:.6f},{:.6f}?overview=full&geometries=geojson&steps=true",
                                 osrm_profile(mode), from.lon, from.lat, to.lon, to.lat));
}

Maneuver maneuver_from_osrm(std::string_view type, std::string_view modifier) {
  if (type == "depart") return Maneuver::Depart;
  if (type == "arrive") return Maneuver::Arrive;
  if (type == "roundabout" || type == "rotary" || type == "roundabout turn") return Maneuver::Roundabout;
  if (type == "merge") return Maneuver::Merge;
  if (type == "uturn" || modifier == "uturn") return Maneuver::Uturn;
  if (modifier == "sharp left") return Maneuver::SharpLeft;
  if (modifier == "left") return Maneuver::Left;
  if (modifier == "slight left") return Maneuver::SlightLeft;
  if (modifier == "sharp right") return Maneuver::SharpRight;
  if (modifier == "right") return Maneuver::Right;
  if (modifier == "slight right") return Maneuver::SlightRight;
  return Maneuver::Continue;
}

std::string step_instruction(Maneuver maneuver, std::string_view name) {
  const bool named = !name.empty();
  const std::string onto = named ? fmt::format(" onto {}", name) : std::string();
  switch (maneuver) {
    case Maneuver::Depart: return named ? fmt::format("Head out on {}", name) : "Start";
    case Maneuver::Continue:
    case Maneuver::Merge: return named ? fmt::format("Continue on {}", name) : "Continue";
    case Maneuver::SlightLeft: return "Slight left" + onto;
    case Maneuver::Left: return "Turn left" + onto;
    case Maneuver::SharpLeft: return "Sharp left" + onto;
    case Maneuver::SlightRight: return "Slight right" + onto;
    case Maneuver::Right: return "Turn right" + onto;
    case Maneuver::SharpRight: return "Sharp right" + onto;
    case Maneuver::Uturn: return "Make a U-turn";
    case Maneuver::Roundabout: return "At the roundabout, take the exit" + onto;
    case Maneuver::Arrive: return "Arrive at your destination";
  }
  return "Continue";
}

std::optional<LatLon> json_coord_pair(const nlohmann::json& value) {
  return jr::position(jr::number(jr::element(value, 1)), jr::number(jr::element(value, 0)));
}

// The router's own answer codes: "NoRoute", "NoSegment" and the like say it has nothing for these
// points; the others ("InvalidQuery", "TooBig", ...) that it refused the request.
namespace {
base::Error osrm_code_error(const std::string& code, long http_status) {
  if (code.rfind("No", 0) == 0) return base::err(base::ErrorKind::NoResult, code);
  return base::err(base::ErrorKind::ServiceError, code, http_status);
}
}  // namespace

base::Result<Route> parse_osrm_route(const nlohmann::json& reply, TravelMode mode, LatLon from, LatLon to) {
  const auto code = jr::text(jr::member(reply, "code"));
  if (!code) return base::err(base::ErrorKind::BadReply, "routing failed");
  if (*code != "Ok") return osrm_code_error(*code, 0);

  const auto& first = jr::element(jr::member(reply, "routes"), 0);
  Route route;
  route.mode = mode;
  route.from = from;
  route.to = to;
  route.distance_m = jr::number(jr::member(first, "distance")).value_or(0.0);
  route.duration_s = jr::number(jr::member(first, "duration")).value_or(0.0);

  const auto& coords = jr::member(jr::member(first, "geometry"), "coordinates");
  if (coords.is_array()) {
    std::vector<LatLon> line;
    line.reserve(coords.size());
    for (const auto& c : coords) {
      if (auto p = json_coord_pair(c)) line.push_back(*p);
    }
    route.geometry = simplify_polyline(line, kSimplifyToleranceM);
  }

  const auto& legs = jr::member(first, "legs");
  if (legs.is_array()) {
    for (const auto& leg : legs) {
      const auto& steps = jr::member(leg, "steps");
      if (!steps.is_array()) continue;
      for (const auto& step : steps) {
        const auto& man = jr::member(step, "maneuver");
        const std::string type = jr::text(jr::member(man, "type")).value_or("");
        const std::string modifier = jr::text(jr::member(man, "modifier")).value_or("");
        const std::string name = jr::text(jr::member(step, "name")).value_or("");
        const Maneuver m = maneuver_from_osrm(type, modifier);
        route.steps.push_back(
            RouteStep{step_instruction(m, name), jr::number(jr::member(step, "distance")).value_or(0.0), m});
      }
    }
  }
  return route;
}

base::Result<Route> parse_osrm_reply(const HttpReply& reply, TravelMode mode, LatLon from, LatLon to) {
  if (reply.status >= 200 && reply.status <= 299) {
    auto value = parse_json_body(reply.body);
    if (!value) return value.failure();
    return parse_osrm_route(*value, mode, from, to);
  }
  if (auto pause = asked_pause(reply, kRoutingService)) return std::move(*pause);
  if (reply.status >= 400 && reply.status <= 499) {
    if (auto value = parse_json_body(reply.body)) {
      const auto code = jr::text(jr::member(*value, "code"));
      if (code && !code->empty() && *code != "Ok") return osrm_code_error(*code, reply.status);
    }
  }
  return http_status_error(reply.status);
}

base::Result<Route> fetch_route(const ServiceHosts& hosts, TravelMode mode, LatLon from, LatLon to) {
  auto reply = get_reply(osrm_route_url(hosts, mode, from, to), hosts.timeout, hosts.control.get());
  if (!reply) return reply.failure();
  return parse_osrm_reply(*reply, mode, from, to);
}

}  // namespace maps

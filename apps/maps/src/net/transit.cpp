#include "net/transit.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include <fmt/format.h>

#include "base/utf8.hpp"
#include "net/http_client.hpp"
#include "net/json_read.hpp"
#include "net/local_clock.hpp"
#include "net/polyline.hpp"

namespace maps {

namespace jr = json_read;

namespace {
bool is_hex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::string text_or_empty(const nlohmann::json& v) { return jr::text(v).value_or(""); }

// A place's name. The planner calls the coordinates it was asked from and to "START" and "END";
// those are no names, so they come out empty and the panel names the person's own endpoints.
std::string place_name(const nlohmann::json& place) {
  std::string name = text_or_empty(jr::member(place, "name"));
  const bool stop = !jr::member(place, "stopId").is_null();
  if (!stop && (name == "START" || name == "END")) name.clear();
  return name;
}

// Seconds to whole minutes, halves away from zero, clamped to the 32-bit range.
std::uint32_t minutes_of(const nlohmann::json& v) {
  const auto seconds = jr::number(v);
  if (!seconds) return 0;
  const double m = std::round(*seconds / 60.0);
  if (!(m > 0.0)) return 0;
  if (m >= 4294967295.0) return 4294967295u;
  return static_cast<std::uint32_t>(m);
}

bool upper_in(std::string_view upper, std::initializer_list<std::string_view> codes) {
  return std::find(codes.begin(), codes.end(), upper) != codes.end();
}

TransitLeg parse_leg(const nlohmann::json& leg) {
  TransitLeg out;
  const auto mode = jr::text(jr::member(leg, "mode"));
  out.mode = transit_mode_kind(mode ? *mode : "WALK");
  const auto& short_name = jr::member(leg, "routeShortName");
  out.line = short_name.is_string() ? short_name.get<std::string>() : text_or_empty(jr::member(leg, "route"));
  out.headsign = text_or_empty(jr::member(leg, "headsign"));
  out.from_name = place_name(jr::member(leg, "from"));
  out.to_name = place_name(jr::member(leg, "to"));
  out.dep = local_clock_text(text_or_empty(jr::member(leg, "startTime")));
  out.arr = local_clock_text(text_or_empty(jr::member(leg, "endTime")));
  out.duration_min = minutes_of(jr::member(leg, "duration"));
  const auto& stops = jr::member(leg, "intermediateStops");
  out.num_stops = stops.is_array() ? static_cast<std::uint32_t>(stops.size() & 0xFFFFFFFFu) : 0;
  const auto& geometry = jr::member(leg, "legGeometry");
  const auto points = jr::text(jr::member(geometry, "points"));
  if (points && !points->empty()) {
    out.geometry = simplify_polyline(
        decode_leg_geometry(*points, jr::non_negative_u32(jr::member(geometry, "precision"))), kSimplifyToleranceM);
  }
  out.color = hex_colour_field(leg, "routeColor");
  out.text_color = hex_colour_field(leg, "routeTextColor");
  out.agency = text_or_empty(jr::member(leg, "agencyName"));
  const auto& realtime = jr::member(leg, "realTime");
  out.realtime = realtime.is_boolean() && realtime.get<bool>();
  return out;
}
TransitJourney parse_itinerary(const nlohmann::json& it) {
  TransitJourney j;
  j.dep = local_clock_text(text_or_empty(jr::member(it, "startTime")));
  j.arr = local_clock_text(text_or_empty(jr::member(it, "endTime")));
  j.duration_min = minutes_of(jr::member(it, "duration"));
  j.transfers = jr::non_negative_u32(jr::member(it, "transfers")).value_or(0);
  const auto& legs = jr::member(it, "legs");
  if (legs.is_array()) {
    for (const auto& leg : legs) j.legs.push_back(parse_leg(leg));
  }
  return j;
}

}  // namespace

std::vector<LatLon> decode_leg_geometry(std::string_view points, std::optional<std::uint32_t> precision) {
  std::vector<LatLon> line = decode_polyline(points, precision.value_or(5));
  // The planner's answers are precision 7 when they leave it out; read at 5, such a line lands
  // 100 times too far out, which usually leaves the globe.
  if (!precision && !all_on_globe(line)) line = decode_polyline(points, 7);
  if (!all_on_globe(line)) return {};
  return line;
}

std::string transit_plan_url(const ServiceHosts& hosts, const TransitQuery& query, LatLon from, LatLon to) {
  std::string path = fmt::format("/api/v1/plan?fromPlace={:.6f},{:.6f}&toPlace={:.6f},{:.6f}&numItineraries=4",
                                 from.lat, from.lon, to.lat, to.lon);
  if (query.time) path += "&time=" + percent_encode(*query.time);
  if (query.arrive_by) path += "&arriveBy=true";
  return service_url(hosts.motis, path);
}

std::string iso_clock_text(std::string_view text) {
  const auto t = text.find('T');
  if (t == std::string_view::npos || text.size() - (t + 1) < 5) return std::string(text);
  const std::size_t end = t + 6;
  // The five bytes must end on a character boundary (not inside a multi-byte character).
  if (!base::is_utf8_boundary(text, end)) return std::string(text);
  return std::string(text.substr(t + 1, 5));
}

std::optional<std::string> hex_colour_field(const nlohmann::json& leg, std::string_view key) {
  const auto t = jr::text(jr::member(leg, key));
  if (!t) return std::nullopt;
  std::string_view v = *t;
  while (!v.empty() && v.front() == '#') v.remove_prefix(1);
  if (v.size() != 6 || !std::all_of(v.begin(), v.end(), is_hex)) return std::nullopt;
  return std::string(v);
}

TransitMode transit_mode_kind(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "WALK") return TransitMode::Walk;
  if (upper_in(upper, {"TRAM", "STREETCAR", "LIGHT_RAIL"})) return TransitMode::Tram;
  if (upper_in(upper, {"SUBWAY", "METRO"})) return TransitMode::Subway;
  // Suburban trains (the planner's "SUBURBAN") are trains, not buses.
  if (upper_in(upper, {"RAIL", "REGIONAL_RAIL", "REGIONAL_FAST_RAIL", "LONG_DISTANCE", "HIGHSPEED_RAIL", "NIGHT_RAIL",
                       "SUBURBAN"})) {
    return TransitMode::Rail;
  }
  if (upper == "FERRY") return TransitMode::Ferry;
  return TransitMode::Bus;
}

base::Result<std::vector<TransitJourney>> parse_transit_plan(const nlohmann::json& value) {
  const auto& itineraries = jr::member(value, "itineraries");
  if (!itineraries.is_array()) return base::err(base::ErrorKind::BadReply, "no itineraries");
  // For a short trip the planner finds no ride and sends only its walk, under "direct": that
  // walk is the answer then, not an empty one.
  const auto& direct = jr::member(value, "direct");
  const auto& chosen = itineraries.empty() && direct.is_array() ? direct : itineraries;
  std::vector<TransitJourney> out;
  out.reserve(chosen.size());
  for (const auto& it : chosen) out.push_back(parse_itinerary(it));
  return out;
}

base::Result<std::vector<TransitJourney>> fetch_transit_plan(const ServiceHosts& hosts, const TransitQuery& query,
                                                             LatLon from, LatLon to) {
  auto reply = get_json(transit_plan_url(hosts, query, from, to), hosts.timeout, hosts.control.get(), kJourneyService);
  if (!reply) return reply.failure();
  return parse_transit_plan(*reply);
}

}  // namespace maps

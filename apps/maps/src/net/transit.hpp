#pragma once
// Public-transport journeys from a MOTIS-style journey planner.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/result.hpp"
#include "model/records.hpp"
#include "net/service_hosts.hpp"

namespace maps {

// The time options of one plan request.
struct TransitQuery {
  std::optional<std::string> time;  // RFC 3339; absent means now
  bool arrive_by = false;
  bool operator==(const TransitQuery&) const = default;
};

std::string transit_plan_url(const ServiceHosts& hosts, const TransitQuery& query, LatLon from, LatLon to);

// "HH:MM" out of an ISO 8601 date-time; any other text comes back whole.
std::string iso_clock_text(std::string_view text);
// A six-digit hex colour without "#", keeping its letter case.
std::optional<std::string> hex_colour_field(const nlohmann::json& leg, std::string_view key);
TransitMode transit_mode_kind(std::string_view text);
// A leg's encoded line at its stated precision. Without one it is read at 5, and at 7 when 5
// puts points off the globe; a line that still has such points is dropped (empty).
std::vector<LatLon> decode_leg_geometry(std::string_view points, std::optional<std::uint32_t> precision);

// Journeys and legs with their times in the machine's local time (local_clock_text). With no
// itineraries, the walk-only journeys of "direct" are the answer.
base::Result<std::vector<TransitJourney>> parse_transit_plan(const nlohmann::json& value);

base::Result<std::vector<TransitJourney>> fetch_transit_plan(const ServiceHosts& hosts, const TransitQuery& query,
                                                             LatLon from, LatLon to);

}  // namespace maps

#pragma once
// Points of interest of a box from an Overpass query service, and the tag-to-category mapping
// that the geocoding parser shares.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/result.hpp"
#include "model/records.hpp"
#include "net/service_hosts.hpp"

namespace maps {

// An OpenStreetMap tag (key, value) to a place category; exact, case-sensitive.
Category poi_category(std::string_view key, std::string_view value);

// The tag's value when it is a non-empty string.
std::optional<std::string> tag_text(const nlohmann::json& tags, std::string_view key);

// "/api/interpreter?data=..." for the box (south, west, north, east).
std::string overpass_url(const ServiceHosts& hosts, double min_lat, double min_lon, double max_lat, double max_lon);
// The query text itself, before encoding.
std::string overpass_query(double min_lat, double min_lon, double max_lat, double max_lon);

// Never fails: unusable elements are skipped, a reply without elements gives no points.
std::vector<Poi> parse_overpass_pois(const nlohmann::json& value);

// A whole reply: a query the service could not finish (out of time or memory) still comes with
// status 200, few or no elements and a `remark` beginning "runtime error". That remark is the
// error; otherwise the points of `parse_overpass_pois`.
base::Result<std::vector<Poi>> parse_overpass_reply(const nlohmann::json& value);

base::Result<std::vector<Poi>> fetch_pois(const ServiceHosts& hosts, double min_lat, double min_lon, double max_lat,
                                          double max_lon);

}  // namespace maps

#pragma once
// Place search, area search and reverse lookup against a Nominatim geocoding service.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/result.hpp"
#include "model/records.hpp"
#include "net/service_hosts.hpp"

namespace maps {

// AreaCandidate (a place with the box to download) lives with the model records.

std::string place_search_url(const ServiceHosts& hosts, std::string_view query);
std::string reverse_geocode_url(const ServiceHosts& hosts, double lat, double lon);

// One search hit; nothing when its coordinates are unusable.
std::optional<Place> parse_search_place(const nlohmann::json& hit);
std::optional<AreaCandidate> parse_area_candidate(const nlohmann::json& hit);
std::optional<std::string> first_non_numeric_part(const std::vector<std::string_view>& parts);
std::optional<double> bbox_coordinate(const nlohmann::json& array, std::size_t index);

// Whole replies: a search reply must be an array ("unexpected response" otherwise).
base::Result<std::vector<Place>> parse_place_search(const nlohmann::json& reply);
base::Result<std::vector<AreaCandidate>> parse_area_search(const nlohmann::json& reply);
base::Result<std::string> parse_reverse_geocode(const nlohmann::json& reply);

base::Result<std::vector<Place>> search_places(const ServiceHosts& hosts, std::string_view query);
base::Result<std::vector<AreaCandidate>> search_areas(const ServiceHosts& hosts, std::string_view query);
base::Result<std::string> reverse_geocode(const ServiceHosts& hosts, double lat, double lon);

}  // namespace maps

#include "net/geocoding.hpp"

#include <algorithm>

#include <fmt/format.h>

#include "base/text.hpp"
#include "net/http_client.hpp"
#include "net/json_read.hpp"
#include "net/pois.hpp"

namespace maps {

namespace jr = json_read;

namespace {
bool all_ascii_digits(std::string_view s) {
  for (const char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::optional<std::string> non_empty_text(const nlohmann::json& v) {
  auto t = jr::text(v);
  if (!t || t->empty()) return std::nullopt;
  return t;
}

std::optional<std::string> road_name(const nlohmann::json& address) {
  for (const auto key : {"road", "pedestrian", "footway"}) {
    auto road = jr::text(jr::member(address, key));
    if (!road) continue;
    // The first road-like key that is a text decides, even when it is empty.
    if (road->empty()) return std::nullopt;
    if (auto number = non_empty_text(jr::member(address, "house_number"))) return *road + " " + *number;
    return road;
  }
  return std::nullopt;
}

template <class T, class F>
base::Result<std::vector<T>> parse_hits(const nlohmann::json& reply, F parse_one) {
  if (!reply.is_array()) return base::err(base::ErrorKind::BadReply, "unexpected response");
  std::vector<T> out;
  for (const auto& hit : reply) {
    if (auto v = parse_one(hit)) out.push_back(std::move(*v));
  }
  return out;
}
}  // namespace

std::string place_search_url(const ServiceHosts& hosts, std::string_view query) {
  return service_url(hosts.nominatim,
                     fmt::format("/search?q={}&format=jsonv2&limit=8&addressdetails=1", percent_encode(query)));
}

std::string reverse_geocode_url(const ServiceHosts& hosts, double lat, double lon) {
  return service_url(hosts.nominatim,
                     fmt::format("/reverse?lat={:.6f}&lon={:.6f}&format=jsonv2&zoom=16&addressdetails=1", lat, lon));
}

std::optional<std::string> first_non_numeric_part(const std::vector<std::string_view>& parts) {
  for (const auto part : parts) {
    const auto t = base::trim_white_space(part);
    if (t.empty() || all_ascii_digits(t)) continue;
    return std::string(t);
  }
  return std::nullopt;
}

std::optional<double> bbox_coordinate(const nlohmann::json& array, std::size_t index) {
  const auto t = jr::text(jr::element(array, index));
  if (!t) return std::nullopt;
  return jr::parse_f64(*t);
}

std::optional<Place> parse_search_place(const nlohmann::json& hit) {
  const auto lat_text = jr::text(jr::member(hit, "lat"));
  const auto lon_text = jr::text(jr::member(hit, "lon"));
  if (!lat_text || !lon_text) return std::nullopt;
  const auto pos = jr::position(jr::parse_f64(*lat_text), jr::parse_f64(*lon_text));
  if (!pos) return std::nullopt;

  std::string address = jr::text(jr::member(hit, "display_name")).value_or("");
  std::optional<std::string> name = non_empty_text(jr::member(hit, "name"));
  if (!name) name = road_name(jr::member(hit, "address"));
  if (!name) name = first_non_numeric_part(jr::split(address, ','));
  if (!name) name = "Place";

  const auto& cls = jr::member(hit, "class");
  const std::string key = cls.is_string() ? cls.get<std::string>() : jr::text(jr::member(hit, "category")).value_or("");
  const std::string value = jr::text(jr::member(hit, "type")).value_or("");

  const std::string osm_type = jr::text(jr::member(hit, "osm_type")).value_or("n");
  std::string id = fmt::format("osm-{}-{}", osm_type, jr::int64(jr::member(hit, "osm_id")).value_or(0));

  return Place{std::move(id), std::move(*name), poi_category(key, value), std::move(address), *pos, false};
}

std::optional<AreaCandidate> parse_area_candidate(const nlohmann::json& hit) {
  auto place = parse_search_place(hit);
  if (!place) return std::nullopt;

  AreaCandidate out;
  const auto& box = jr::member(hit, "boundingbox");
  // A corner off the globe counts as a missing box.
  const auto south_west = jr::position(bbox_coordinate(box, 0), bbox_coordinate(box, 2));
  const auto north_east = jr::position(bbox_coordinate(box, 1), bbox_coordinate(box, 3));
  if (box.is_array() && south_west && north_east) {
    out.min = *south_west;
    out.max = *north_east;
  } else {
    // The place's surroundings, kept on the globe near the poles and the antimeridian.
    out.min = {std::max(place->pos.lat - 0.006, -90.0), std::max(place->pos.lon - 0.006, -180.0)};
    out.max = {std::min(place->pos.lat + 0.006, 90.0), std::min(place->pos.lon + 0.006, 180.0)};
  }

  const std::string_view address = place->address;
  const auto comma = address.find(',');
  out.label = comma == std::string_view::npos ? std::string(address)
                                              : std::string(base::trim_white_space(address.substr(comma + 1)));
  out.name = std::move(place->name);
  out.pos = place->pos;
  return out;
}

base::Result<std::vector<Place>> parse_place_search(const nlohmann::json& reply) {
  return parse_hits<Place>(reply, parse_search_place);
}

base::Result<std::vector<AreaCandidate>> parse_area_search(const nlohmann::json& reply) {
  return parse_hits<AreaCandidate>(reply, parse_area_candidate);
}

base::Result<std::string> parse_reverse_geocode(const nlohmann::json& reply) {
  if (auto name = non_empty_text(jr::member(reply, "name"))) return std::move(*name);
  if (auto display = non_empty_text(jr::member(reply, "display_name"))) {
    const auto parts = jr::split(*display, ',');
    std::string out(base::trim_white_space(parts[0]));
    if (parts.size() > 1) {
      out += ", ";
      out += base::trim_white_space(parts[1]);
    }
    return out;
  }
  return base::err(base::ErrorKind::NoResult, "no address for this location");
}

base::Result<std::vector<Place>> search_places(const ServiceHosts& hosts, std::string_view query) {
  auto reply = get_json(place_search_url(hosts, query), hosts.timeout, hosts.control.get(), kGeocoderService);
  if (!reply) return reply.failure();
  return parse_place_search(*reply);
}

base::Result<std::vector<AreaCandidate>> search_areas(const ServiceHosts& hosts, std::string_view query) {
  auto reply = get_json(place_search_url(hosts, query), hosts.timeout, hosts.control.get(), kGeocoderService);
  if (!reply) return reply.failure();
  return parse_area_search(*reply);
}

base::Result<std::string> reverse_geocode(const ServiceHosts& hosts, double lat, double lon) {
  auto reply = get_json(reverse_geocode_url(hosts, lat, lon), hosts.timeout, hosts.control.get(), kGeocoderService);
  if (!reply) return reply.failure();
  return parse_reverse_geocode(*reply);
}

}  // namespace maps

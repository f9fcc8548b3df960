#include "net/pois.hpp"

#include <algorithm>
#include <array>
#include <unordered_set>

#include <fmt/format.h>

#include "base/text.hpp"
#include "net/http_client.hpp"
#include "net/json_read.hpp"

namespace maps {

namespace jr = json_read;

namespace {
bool one_of(std::string_view v, std::initializer_list<std::string_view> options) {
  return std::find(options.begin(), options.end(), v) != options.end();
}

constexpr std::array<std::string_view, 7> kCategoryKeys = {"amenity", "tourism",          "shop",   "leisure",
                                                           "railway", "public_transport", "highway"};
}  // namespace

Category poi_category(std::string_view key, std::string_view value) {
  if (key == "amenity") {
    if (value == "cafe") return Category::Cafe;
    if (one_of(value, {"restaurant", "fast_food", "food_court"})) return Category::Restaurant;
    if (one_of(value, {"bar", "pub", "biergarten", "nightclub"})) return Category::Bar;
    if (one_of(value, {"hospital", "clinic", "doctors"})) return Category::Hospital;
    return Category::Other;
  }
  if (key == "tourism") {
    if (one_of(value, {"museum", "gallery", "artwork"})) return Category::Museum;
    if (one_of(value, {"hotel", "hostel", "guest_house", "motel"})) return Category::Hotel;
    if (one_of(value, {"attraction", "viewpoint", "monument"})) return Category::Landmark;
    return Category::Other;
  }
  if (key == "historic") return Category::Landmark;
  if (key == "leisure") return one_of(value, {"park", "garden", "nature_reserve"}) ? Category::Park : Category::Other;
  if (key == "shop") return Category::Shop;
  if (key == "railway" || key == "public_transport") return Category::Transit;
  if (key == "highway" && value == "bus_stop") return Category::Transit;
  return Category::Other;
}

std::optional<std::string> tag_text(const nlohmann::json& tags, std::string_view key) {
  auto t = jr::text(jr::member(tags, key));
  if (!t || t->empty()) return std::nullopt;
  return t;
}

std::string overpass_query(double min_lat, double min_lon, double max_lat, double max_lon) {
  const std::string box = fmt::format("{:.5f},{:.5f},{:.5f},{:.5f}", min_lat, min_lon, max_lat, max_lon);
  return fmt::format(
      "[out:json][timeout:20];("
      "nwr[\"amenity\"~\"^(restaurant|cafe|bar|pub|fast_food|biergarten|hospital|clinic|pharmacy|bank|cinema|"
      "theatre)$\"]({0});"
      "nwr[\"shop\"]({0});"
      "nwr[\"tourism\"~\"^(museum|gallery|artwork|attraction|viewpoint|hotel|hostel|guest_house)$\"]({0});"
      "nwr[\"leisure\"~\"^(park|garden)$\"]({0});"
      "nwr[\"railway\"~\"^(station|halt|tram_stop)$\"]({0});"
      "nwr[\"highway\"=\"bus_stop\"]({0});"
      "nwr[\"public_transport\"=\"station\"]({0});"
      ");out center 250;",
      box);
}

std::string overpass_url(const ServiceHosts& hosts, double min_lat, double min_lon, double max_lat, double max_lon) {
  return service_url(hosts.overpass,
                     "/api/interpreter?data=" + percent_encode(overpass_query(min_lat, min_lon, max_lat, max_lon)));
}

std::vector<Poi> parse_overpass_pois(const nlohmann::json& value) {
  std::vector<Poi> out;
  const auto& elements = jr::member(value, "elements");
  if (!elements.is_array()) return out;
  std::unordered_set<std::string> seen;
  for (const auto& el : elements) {
    const auto& tags = jr::member(el, "tags");
    auto name = tag_text(tags, "name");
    if (!name) continue;

    auto pos = jr::position(jr::number(jr::member(el, "lat")), jr::number(jr::member(el, "lon")));
    if (!pos) {
      const auto& center = jr::member(el, "center");
      pos = jr::position(jr::number(jr::member(center, "lat")), jr::number(jr::member(center, "lon")));
      if (!pos) continue;
    }

    std::optional<Category> category;
    for (const auto key : kCategoryKeys) {
      if (auto v = tag_text(tags, key)) {
        category = poi_category(key, *v);
        break;
      }
    }
    if (!category) continue;

    const std::string type = jr::text(jr::member(el, "type")).value_or("node");
    std::string id = fmt::format("osm-{}-{}", type, jr::int64(jr::member(el, "id")).value_or(0));
    if (seen.count(id) != 0) continue;

    std::string address;
    if (auto street = tag_text(tags, "addr:street")) {
      address = *street;
      if (auto number = tag_text(tags, "addr:housenumber")) address += " " + *number;
    }
    if (auto city = tag_text(tags, "addr:city")) address = address.empty() ? *city : address + ", " + *city;

    auto website = tag_text(tags, "website");
    if (!website) website = tag_text(tags, "contact:website");
    auto phone = tag_text(tags, "phone");
    if (!phone) phone = tag_text(tags, "contact:phone");
    auto kind = tag_text(tags, "cuisine");
    if (!kind) kind = tag_text(tags, "shop");
    if (kind) std::replace(kind->begin(), kind->end(), '_', ' ');

    seen.insert(id);
    out.push_back(Poi{std::move(id), std::move(*name), std::move(address), tag_text(tags, "opening_hours"),
                      std::move(website), std::move(phone), std::move(kind), *pos, *category});
  }
  return out;
}

base::Result<std::vector<Poi>> parse_overpass_reply(const nlohmann::json& value) {
  if (const auto remark = jr::text(jr::member(value, "remark"))) {
    const std::string_view text = base::trim_white_space(*remark);
    if (text.rfind("runtime error", 0) == 0) return base::err(base::ErrorKind::ServiceError, std::string(text));
  }
  return parse_overpass_pois(value);
}

base::Result<std::vector<Poi>> fetch_pois(const ServiceHosts& hosts, double min_lat, double min_lon, double max_lat,
                                          double max_lon) {
  auto reply = get_json(overpass_url(hosts, min_lat, min_lon, max_lat, max_lon), hosts.timeout, hosts.control.get(),
                        kPoiService);
  if (!reply) return reply.failure();
  return parse_overpass_reply(*reply);
}

}  // namespace maps

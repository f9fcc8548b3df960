#include <limits>

#include "doc/primitives.hpp"
#include "doc/readers_records.hpp"
#include "doc/schema_keys.hpp"

namespace maps::doc {

namespace {

template <class E>
std::optional<E> read_key(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto text = read_text(doc, obj, key);
  if (!text) return std::nullopt;
  return parse_doc_key<E>(*text);
}

// Narrower model fields keep the low bits of what is stored.
std::optional<std::uint32_t> read_u32(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto v = read_uint(doc, obj, key);
  if (!v) return std::nullopt;
  return static_cast<std::uint32_t>(*v);
}

std::optional<std::uint8_t> read_u8(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto v = read_uint(doc, obj, key);
  if (!v) return std::nullopt;
  return static_cast<std::uint8_t>(*v);
}

std::optional<ExId> live_record(const AutoCommit& doc, const ExId& collection, const std::string& key) {
  auto record = get_map(doc, collection, key);
  if (!record || is_deleted(doc, *record)) return std::nullopt;
  return record;
}

}  // namespace

std::optional<Place> read_place(const AutoCommit& doc, const ExId& places, const std::string& key) {
  auto r = live_record(doc, places, key);
  if (!r) return std::nullopt;
  auto id = read_text(doc, *r, "id");
  auto name = read_text(doc, *r, "name");
  auto category = read_key<Category>(doc, *r, "category");
  auto pos = read_latlon(doc, *r, "pos");
  if (!id || !name || !category || !pos) return std::nullopt;
  return Place{std::move(*id), std::move(*name),
               *category,      read_text(doc, *r, "address").value_or(std::string{}),
               *pos,           read_bool_field(doc, *r, "saved")};
}

std::optional<RecentEntry> read_recent_entry(const AutoCommit& doc, const ExId& recents, const std::string& key) {
  auto r = live_record(doc, recents, key);
  if (!r) return std::nullopt;
  auto text = read_text(doc, *r, "text");
  if (!text) return std::nullopt;
  return RecentEntry{key, std::move(*text),
                     read_uint(doc, *r, "rank").value_or(std::numeric_limits<std::uint64_t>::max())};
}

std::optional<DownloadedRegion> read_region(const AutoCommit& doc, const ExId& regions, const std::string& key) {
  auto r = live_record(doc, regions, key);
  if (!r) return std::nullopt;
  auto id = read_text(doc, *r, "id");
  auto name = read_text(doc, *r, "name");
  auto min = read_latlon(doc, *r, "min");
  auto max = read_latlon(doc, *r, "max");
  auto z0 = read_u8(doc, *r, "z0");
  auto z1 = read_u8(doc, *r, "z1");
  auto tiles = read_u32(doc, *r, "tiles");
  if (!id || !name || !min || !max || !z0 || !z1 || !tiles) return std::nullopt;
  return DownloadedRegion{std::move(*id), std::move(*name), *min, *max, *z0, *z1, *tiles};
}

std::optional<Route> read_route(const AutoCommit& doc, const ExId& model) {
  auto m = get_map(doc, model, kRoute);
  if (!m) return std::nullopt;
  auto mode = read_key<TravelMode>(doc, *m, "mode");
  auto distance = read_f64(doc, *m, "distance_m");
  auto duration = read_f64(doc, *m, "duration_s");
  auto from = read_latlon(doc, *m, "from");
  auto to = read_latlon(doc, *m, "to");
  if (!mode || !distance || !duration || !from || !to) return std::nullopt;
  return Route{*mode, *distance, *duration, read_geometry(doc, *m), read_items(doc, *m, "steps", read_route_step),
               *from, *to};
}

std::optional<RouteStep> read_route_step(const AutoCommit& doc, const ExId& steps, std::size_t index) {
  auto item = list_item(doc, steps, index);
  if (!item) return std::nullopt;
  auto instruction = read_text(doc, *item, "instruction");
  auto distance = read_f64(doc, *item, "distance_m");
  auto maneuver = read_key<Maneuver>(doc, *item, "maneuver");
  if (!instruction || !distance || !maneuver) return std::nullopt;
  return RouteStep{std::move(*instruction), *distance, *maneuver};
}

std::optional<TransitJourney> read_transit_journey(const AutoCommit& doc, const ExId& transit, std::size_t index) {
  auto item = list_item(doc, transit, index);
  if (!item) return std::nullopt;
  auto dep = read_text(doc, *item, "dep");
  auto arr = read_text(doc, *item, "arr");
  auto duration = read_u32(doc, *item, "duration_min");
  auto transfers = read_u32(doc, *item, "transfers");
  if (!dep || !arr || !duration || !transfers) return std::nullopt;
  return TransitJourney{std::move(*dep), std::move(*arr), *duration, *transfers,
                        read_items(doc, *item, "legs", read_transit_leg)};
}

std::optional<TransitLeg> read_transit_leg(const AutoCommit& doc, const ExId& legs, std::size_t index) {
  auto item = list_item(doc, legs, index);
  if (!item) return std::nullopt;
  auto mode = read_key<TransitMode>(doc, *item, "mode");
  auto line = read_text(doc, *item, "line");
  auto headsign = read_text(doc, *item, "headsign");
  auto from_name = read_text(doc, *item, "from_name");
  auto to_name = read_text(doc, *item, "to_name");
  auto dep = read_text(doc, *item, "dep");
  auto arr = read_text(doc, *item, "arr");
  auto duration = read_u32(doc, *item, "duration_min");
  auto stops = read_u32(doc, *item, "num_stops");
  if (!mode || !line || !headsign || !from_name || !to_name || !dep || !arr || !duration || !stops) {
    return std::nullopt;
  }
  TransitLeg leg;
  leg.mode = *mode;
  leg.line = std::move(*line);
  leg.headsign = std::move(*headsign);
  leg.from_name = std::move(*from_name);
  leg.to_name = std::move(*to_name);
  leg.dep = std::move(*dep);
  leg.arr = std::move(*arr);
  leg.duration_min = *duration;
  leg.num_stops = *stops;
  leg.geometry = read_geometry(doc, *item);
  leg.color = read_text(doc, *item, "color");
  leg.text_color = read_text(doc, *item, "text_color");
  leg.agency = read_text(doc, *item, "agency").value_or(std::string{});
  leg.realtime = read_bool_field(doc, *item, "realtime");
  return leg;
}

}  // namespace maps::doc

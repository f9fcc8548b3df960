#include <set>

#include "doc/primitives.hpp"
#include "doc/schema_keys.hpp"
#include "doc/writers.hpp"
#include "model/json_codec.hpp"

namespace maps::doc {

void write_place(AutoCommit& doc, const ExId& record, const Place& place) {
  write_text(doc, record, "id", place.id);
  write_text(doc, record, "name", place.name);
  write_text(doc, record, "category", doc_key(place.category));
  write_text(doc, record, "address", place.address);
  write_latlon(doc, record, "pos", place.pos);
  put_bool_if_changed(doc, record, "saved", place.saved);
}

void write_region(AutoCommit& doc, const ExId& record, const DownloadedRegion& region) {
  write_text(doc, record, "id", region.id);
  write_text(doc, record, "name", region.name);
  write_latlon(doc, record, "min", region.min);
  write_latlon(doc, record, "max", region.max);
  put_uint_if_changed(doc, record, "z0", region.z0);
  put_uint_if_changed(doc, record, "z1", region.z1);
  put_uint_if_changed(doc, record, "tiles", region.tiles);
}

void write_route(AutoCommit& doc, const ExId& model, const std::optional<Route>& route) {
  if (!route) return;  // an earlier route map stays; the plan decides whether it is read
  auto map = ensure_map(doc, model, kRoute);
  if (!map) return;
  write_text(doc, *map, "mode", travel_mode_key(route->mode));
  put_f64_if_changed(doc, *map, "distance_m", route->distance_m);
  put_f64_if_changed(doc, *map, "duration_s", route->duration_s);
  write_geometry(doc, *map, route->geometry);
  if (auto steps = ensure_list(doc, *map, "steps")) {
    clear_list(doc, *steps);
    for (const RouteStep& step : route->steps) {
      auto item = append_map(doc, *steps);
      if (!item) continue;
      write_text(doc, *item, "instruction", step.instruction);
      put_f64_if_changed(doc, *item, "distance_m", step.distance_m);
      write_text(doc, *item, "maneuver", doc_key(step.maneuver));
    }
  }
  write_latlon(doc, *map, "from", route->from);
  write_latlon(doc, *map, "to", route->to);
}

namespace {

void write_leg(AutoCommit& doc, const ExId& item, const TransitLeg& leg) {
  write_text(doc, item, "mode", doc_key(leg.mode));
  write_text(doc, item, "line", leg.line);
  write_text(doc, item, "headsign", leg.headsign);
  write_text(doc, item, "from_name", leg.from_name);
  write_text(doc, item, "to_name", leg.to_name);
  write_text(doc, item, "dep", leg.dep);
  write_text(doc, item, "arr", leg.arr);
  write_text(doc, item, "agency", leg.agency);
  put_uint_if_changed(doc, item, "duration_min", leg.duration_min);
  put_uint_if_changed(doc, item, "num_stops", leg.num_stops);
  write_geometry(doc, item, leg.geometry);
  write_opt_text(doc, item, "color", leg.color);
  write_opt_text(doc, item, "text_color", leg.text_color);
  put_bool_if_changed(doc, item, "realtime", leg.realtime);
}

}  // namespace

void write_transit(AutoCommit& doc, const ExId& model, const std::vector<TransitJourney>& journeys) {
  auto list = ensure_list(doc, model, kTransit);
  if (!list) return;
  clear_list(doc, *list);
  for (const TransitJourney& j : journeys) {
    auto item = append_map(doc, *list);
    if (!item) continue;
    write_text(doc, *item, "dep", j.dep);
    write_text(doc, *item, "arr", j.arr);
    put_uint_if_changed(doc, *item, "duration_min", j.duration_min);
    put_uint_if_changed(doc, *item, "transfers", j.transfers);
    auto legs = ensure_list(doc, *item, "legs");
    if (!legs) continue;
    clear_list(doc, *legs);
    for (const TransitLeg& leg : j.legs) {
      if (auto leg_item = append_map(doc, *legs)) write_leg(doc, *leg_item, leg);
    }
  }
}

void write_recents(AutoCommit& doc, const ExId& model, const std::vector<std::string>& recents) {
  auto map = ensure_map(doc, model, kRecents);
  if (!map) return;
  std::set<std::string, std::less<>> kept;
  for (const std::string& text : recents) kept.insert(recent_search_key(text));
  for (std::size_t i = 0; i < recents.size(); ++i) {
    auto record = ensure_map(doc, *map, recent_search_key(recents[i]));
    if (!record) continue;
    write_text(doc, *record, "text", recents[i]);
    put_uint_if_changed(doc, *record, "rank", i);
    revive_record(doc, *record);
  }
  // A search that falls off the list leaves no key behind, so that reads walk only what is
  // shown; the records an older document only marked deleted go as well.
  for (const std::string& key : doc.keys(*map)) {
    if (kept.count(key) == 0) delete_key(doc, *map, key);
  }
}

void clear_recents(AutoCommit& doc, const ExId& model) {
  auto map = ensure_map(doc, model, kRecents);
  if (!map) return;
  for (const std::string& key : doc.keys(*map)) delete_key(doc, *map, key);
}

void write_plan(AutoCommit& doc, const ExId& obj, std::string_view key, const ActivePlan& plan) {
  std::string text;
  text.reserve(128);
  serialize_active_plan_json(plan, text);
  put_str(doc, obj, key, std::move(text));
}

void tombstone_all(AutoCommit& doc, const ExId& model, std::string_view collection) {
  auto map = ensure_map(doc, model, collection);
  if (!map) return;
  for (const std::string& key : doc.keys(*map)) {
    if (auto record = get_map(doc, *map, key)) tombstone_record(doc, *record);
  }
}

std::optional<ExId> get_record(AutoCommit& doc, std::string_view collection, std::string_view id) {
  auto root = maps_root(doc);
  if (!root) return std::nullopt;
  auto map = ensure_map(doc, *root, collection);
  if (!map) return std::nullopt;
  return get_map(doc, *map, id);
}

}  // namespace maps::doc

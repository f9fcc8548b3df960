#include <cstdint>
#include <set>
#include <type_traits>

#include "doc/primitives.hpp"
#include "doc/schema_keys.hpp"
#include "doc/writers.hpp"
#include "model/json_codec.hpp"
#include "model/record_fields.hpp"

namespace maps::doc {

namespace {

template <HasFields R>
void write_fields(AutoCommit& doc, const ExId& obj, const R& record);

void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, const std::string& v) {
  write_text(doc, obj, key, v);
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, const std::optional<std::string>& v) {
  write_opt_text(doc, obj, key, v);
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, bool v) {
  put_bool_if_changed(doc, obj, key, v);
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, double v) {
  put_f64_if_changed(doc, obj, key, v);
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, std::uint8_t v) {
  put_uint_if_changed(doc, obj, key, v);
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, std::uint32_t v) {
  put_uint_if_changed(doc, obj, key, v);
}
template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, E v) {
  write_text(doc, obj, key, doc_key(v));
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, const LatLon& v) {
  write_latlon(doc, obj, key, v);
}
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, const std::vector<LatLon>& v) {
  write_geometry(doc, obj, v, key);
}
// A list of records is rewritten whole.
template <HasFields R>
void write_field(AutoCommit& doc, const ExId& obj, std::string_view key, const std::vector<R>& items) {
  auto list = ensure_list(doc, obj, key);
  if (!list) return;
  clear_list(doc, *list);
  for (const R& item : items) {
    if (auto map = append_map(doc, *list)) write_fields(doc, *map, item);
  }
}

// Every field of the record under its key, in field order.
template <HasFields R>
void write_fields(AutoCommit& doc, const ExId& obj, const R& record) {
  for_each_field<R>([&](const auto& f, std::size_t) { write_field(doc, obj, f.key, record.*f.member); });
}

}  // namespace

void write_place(AutoCommit& doc, const ExId& record, const Place& place) { write_fields(doc, record, place); }

void write_region(AutoCommit& doc, const ExId& record, const DownloadedRegion& region) {
  write_fields(doc, record, region);
}

void write_route(AutoCommit& doc, const ExId& model, const std::optional<Route>& route) {
  if (!route) return;  // an earlier route map stays; the plan decides whether it is read
  if (auto map = ensure_map(doc, model, kRoute)) write_fields(doc, *map, *route);
}

void write_transit(AutoCommit& doc, const ExId& model, const std::vector<TransitJourney>& journeys) {
  write_field(doc, model, kTransit, journeys);
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

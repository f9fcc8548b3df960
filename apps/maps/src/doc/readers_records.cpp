#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

#include "doc/primitives.hpp"
#include "doc/readers_records.hpp"
#include "doc/schema_keys.hpp"
#include "model/record_fields.hpp"

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

template <HasFields R>
std::optional<R> read_fields(const AutoCommit& doc, const ExId& obj);

// Each reads the field at `key` into `out` and says whether the document held it.
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, std::string& out) {
  auto v = read_text(doc, obj, key);
  if (v) out = std::move(*v);
  return v.has_value();
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, std::optional<std::string>& out) {
  out = read_text(doc, obj, key);
  return out.has_value();
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, bool& out) {
  out = read_bool_field(doc, obj, key);
  return true;
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, double& out) {
  auto v = read_f64(doc, obj, key);
  if (v) out = *v;
  return v.has_value();
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, std::uint32_t& out) {
  auto v = read_u32(doc, obj, key);
  if (v) out = *v;
  return v.has_value();
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, std::uint8_t& out) {
  auto v = read_u8(doc, obj, key);
  if (v) out = *v;
  return v.has_value();
}
template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, E& out) {
  auto v = read_key<E>(doc, obj, key);
  if (v) out = *v;
  return v.has_value();
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, LatLon& out) {
  auto v = read_latlon(doc, obj, key);
  if (v) out = *v;
  return v.has_value();
}
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, std::vector<LatLon>& out) {
  out = read_geometry(doc, obj, key);
  return true;
}

template <HasFields R>
std::optional<R> read_list_record(const AutoCommit& doc, const ExId& list, std::size_t index) {
  auto item = list_item(doc, list, index);
  if (!item) return std::nullopt;
  return read_fields<R>(doc, *item);
}

template <HasFields R>
bool read_field(const AutoCommit& doc, const ExId& obj, std::string_view key, std::vector<R>& out) {
  out = read_items(doc, obj, key, &read_list_record<R>);
  return true;
}

// None when a field the document must hold is missing or unreadable.
template <HasFields R>
std::optional<R> read_fields(const AutoCommit& doc, const ExId& obj) {
  R out;
  bool complete = true;
  for_each_field<R>([&](const auto& f, std::size_t) {
    if (complete && !read_field(doc, obj, f.key, out.*f.member) && f.in_doc == Absent::Required) complete = false;
  });
  if (!complete) return std::nullopt;
  return out;
}

}  // namespace

std::optional<Place> read_place(const AutoCommit& doc, const ExId& places, const std::string& key) {
  auto r = live_record(doc, places, key);
  if (!r) return std::nullopt;
  return read_fields<Place>(doc, *r);
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
  return read_fields<DownloadedRegion>(doc, *r);
}

std::optional<Route> read_route(const AutoCommit& doc, const ExId& model) {
  auto m = get_map(doc, model, kRoute);
  if (!m) return std::nullopt;
  return read_fields<Route>(doc, *m);
}

std::optional<RouteStep> read_route_step(const AutoCommit& doc, const ExId& steps, std::size_t index) {
  return read_list_record<RouteStep>(doc, steps, index);
}

std::optional<TransitJourney> read_transit_journey(const AutoCommit& doc, const ExId& transit, std::size_t index) {
  return read_list_record<TransitJourney>(doc, transit, index);
}

std::optional<TransitLeg> read_transit_leg(const AutoCommit& doc, const ExId& legs, std::size_t index) {
  return read_list_record<TransitLeg>(doc, legs, index);
}

}  // namespace maps::doc

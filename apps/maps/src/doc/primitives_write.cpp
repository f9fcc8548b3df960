#include <cmath>

#include "doc/primitives.hpp"
#include "doc/schema_keys.hpp"

namespace maps::doc {

namespace {

constexpr double kF64Tolerance = 2.220446049250313e-16;  // 2^-52

std::optional<ExId> ensure_object(AutoCommit& doc, const ExId& obj, std::string_view key, automerge::ObjType type) {
  auto got = doc.get(obj, key);
  if (got && got->has_value() && (*got)->value.obj_type() == type) return (*got)->value.obj_id();
  auto made = doc.put_object(obj, key, type);
  if (!made) return std::nullopt;
  return std::move(made).value();
}

}  // namespace

std::optional<ExId> maps_root(AutoCommit& doc) { return ensure_map(doc, automerge::ROOT, kRootKey); }

std::optional<ExId> ensure_map(AutoCommit& doc, const ExId& obj, std::string_view key) {
  return ensure_object(doc, obj, key, automerge::ObjType::Map);
}

std::optional<ExId> ensure_list(AutoCommit& doc, const ExId& obj, std::string_view key) {
  return ensure_object(doc, obj, key, automerge::ObjType::List);
}

void write_text(AutoCommit& doc, const ExId& obj, std::string_view key, std::string_view value) {
  // Every text of the schema is replaced as a whole, so it is stored as one string: concurrent
  // writes end with one of the values, where splices into one text object would interleave
  // them. A text object of an older document that already holds the value is left alone.
  if (read_text(doc, obj, key) == value) return;
  (void)doc.put(obj, key, automerge::ScalarValue::str(std::string(value)));
}

void write_opt_text(AutoCommit& doc, const ExId& obj, std::string_view key, const std::optional<std::string>& value) {
  if (value) {
    write_text(doc, obj, key, *value);
  } else {
    delete_key(doc, obj, key);
  }
}

void write_latlon(AutoCommit& doc, const ExId& obj, std::string_view key, LatLon value) {
  auto m = ensure_map(doc, obj, key);
  if (!m) return;
  put_f64_if_changed(doc, *m, "lat", value.lat);
  put_f64_if_changed(doc, *m, "lon", value.lon);
}

void write_opt_latlon(AutoCommit& doc, const ExId& obj, std::string_view key, const std::optional<LatLon>& value) {
  if (value) {
    write_latlon(doc, obj, key, *value);
  } else {
    delete_key(doc, obj, key);
  }
}

void write_geometry(AutoCommit& doc, const ExId& obj, const std::vector<LatLon>& points, std::string_view key) {
  auto list = ensure_list(doc, obj, key);
  if (!list) return;
  clear_list(doc, *list);
  for (const LatLon& p : points) {
    auto item = append_map(doc, *list);
    if (!item) continue;
    put_f64_if_changed(doc, *item, "lat", p.lat);
    put_f64_if_changed(doc, *item, "lon", p.lon);
  }
}

void clear_list(AutoCommit& doc, const ExId& list) {
  for (std::size_t n = doc.length(list); n > 0; --n) (void)doc.delete_(list, n - 1);
}

std::optional<ExId> append_map(AutoCommit& doc, const ExId& list) {
  auto made = doc.insert_object(list, doc.length(list), automerge::ObjType::Map);
  if (!made) return std::nullopt;
  return std::move(made).value();
}

void put_bool_if_changed(AutoCommit& doc, const ExId& obj, std::string_view key, bool value) {
  if (read_bool_field(doc, obj, key) == value) return;
  (void)doc.put(obj, key, automerge::ScalarValue::boolean(value));
}

void put_f64_if_changed(AutoCommit& doc, const ExId& obj, std::string_view key, double value) {
  // A NaN difference counts as no change, like a difference within one ulp of 1; but a stored NaN
  // gives way to a number, or a record that once held one could never be repaired.
  if (auto old = read_f64(doc, obj, key);
      old && !(std::isnan(*old) && !std::isnan(value)) && !(std::fabs(*old - value) > kF64Tolerance)) {
    return;
  }
  (void)doc.put(obj, key, automerge::ScalarValue::f64(value));
}

void put_uint_if_changed(AutoCommit& doc, const ExId& obj, std::string_view key, std::uint64_t value) {
  if (read_uint(doc, obj, key) == std::optional<std::uint64_t>(value)) return;
  (void)doc.put(obj, key, automerge::ScalarValue::uint64(value));
}

void put_str(AutoCommit& doc, const ExId& obj, std::string_view key, std::string value) {
  (void)doc.put(obj, key, automerge::ScalarValue::str(std::move(value)));
}

void delete_key(AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto got = doc.get(obj, key);
  if (!got || !got->has_value()) return;  // nothing to delete, so no operation
  (void)doc.delete_(obj, key);
}

void revive_record(AutoCommit& doc, const ExId& record) {
  if (is_deleted(doc, record)) (void)doc.put(record, kDeleted, automerge::ScalarValue::boolean(false));
}

void tombstone_record(AutoCommit& doc, const ExId& record) { put_bool_if_changed(doc, record, kDeleted, true); }

}  // namespace maps::doc

#include <cmath>
#include <limits>

#include "doc/primitives.hpp"
#include "doc/schema_keys.hpp"

namespace maps::doc {

namespace {

std::optional<automerge::Value> winner(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto got = doc.get(obj, key);
  if (!got || !got->has_value()) return std::nullopt;
  return (*got)->value;
}

std::optional<automerge::ScalarValue> scalar_at(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto v = winner(doc, obj, key);
  if (!v || !v->is_scalar()) return std::nullopt;
  return v->to_scalar();
}

std::optional<ExId> object_at(const std::optional<automerge::Value>& v, automerge::ObjType type) {
  if (!v || v->obj_type() != type) return std::nullopt;
  return v->obj_id();
}

// A stored position counts only on the globe: a NaN, infinite or out-of-range value (a damaged
// or foreign document) would put the place nowhere and poison every projection made from it.
std::optional<LatLon> point(std::optional<double> lat, std::optional<double> lon) {
  if (!lat || !lon) return std::nullopt;
  // Written so that NaN fails too.
  if (!(*lat >= -90.0 && *lat <= 90.0 && *lon >= -180.0 && *lon <= 180.0)) return std::nullopt;
  return LatLon{*lat, *lon};
}

}  // namespace

std::optional<ExId> get_map(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  return object_at(winner(doc, obj, key), automerge::ObjType::Map);
}

std::optional<ExId> get_list(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  return object_at(winner(doc, obj, key), automerge::ObjType::List);
}

std::optional<ExId> list_item(const AutoCommit& doc, const ExId& list, std::size_t index) {
  auto got = doc.get(list, index);
  if (!got || !got->has_value()) return std::nullopt;
  return object_at((*got)->value, automerge::ObjType::Map);
}

std::optional<std::string> read_text(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto v = winner(doc, obj, key);
  if (!v) return std::nullopt;
  if (v->obj_type() == automerge::ObjType::Text) {
    auto content = doc.text(v->obj_id());
    if (!content) return std::nullopt;
    return std::move(content).value();
  }
  if (v->is_scalar()) {
    if (const std::string* s = v->to_scalar().as_str()) return *s;
  }
  return std::nullopt;
}

std::optional<double> read_f64(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto s = scalar_at(doc, obj, key);
  if (!s) return std::nullopt;
  if (auto f = s->as_f64()) return *f;
  if (auto u = s->as_uint()) return static_cast<double>(*u);
  if (auto i = s->as_int()) return static_cast<double>(*i);
  return std::nullopt;
}

std::optional<std::uint64_t> read_uint(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto s = scalar_at(doc, obj, key);
  if (!s) return std::nullopt;
  if (auto u = s->as_uint()) return *u;
  if (auto i = s->as_int(); i && *i >= 0) return static_cast<std::uint64_t>(*i);
  return std::nullopt;
}

std::optional<std::int64_t> read_transit_time_offset(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto s = scalar_at(doc, obj, key);
  if (!s) return std::nullopt;
  if (auto i = s->as_int()) return *i;
  if (auto u = s->as_uint(); u && *u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return static_cast<std::int64_t>(*u);
  }
  return std::nullopt;
}

bool read_bool_field(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto s = scalar_at(doc, obj, key);
  return s && s->as_bool() == std::optional<bool>(true);
}

bool read_bool(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto all = doc.get_all(obj, key);
  if (!all) return false;
  for (const automerge::ValueEntry& e : *all) {
    if (e.value.is_scalar() && e.value.to_scalar().as_bool() == std::optional<bool>(true)) return true;
  }
  return false;
}

bool is_deleted(const AutoCommit& doc, const ExId& record) { return read_bool(doc, record, kDeleted); }

std::optional<LatLon> read_latlon(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto m = get_map(doc, obj, key);
  if (!m) return std::nullopt;
  return point(read_f64(doc, *m, "lat"), read_f64(doc, *m, "lon"));
}

std::vector<LatLon> read_geometry(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  std::vector<LatLon> out;
  auto list = get_list(doc, obj, key);
  if (!list) return out;
  const std::size_t n = doc.length(*list);
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    auto item = list_item(doc, *list, i);
    if (!item) continue;
    if (auto p = point(read_f64(doc, *item, "lat"), read_f64(doc, *item, "lon"))) out.push_back(*p);
  }
  return out;
}

}  // namespace maps::doc

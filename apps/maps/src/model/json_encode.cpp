// Record, plan and action writers: every member, in field order, no white space.
#include <type_traits>

#include "model/json_codec.hpp"
#include "model/json_write.hpp"
#include "model/record_fields.hpp"

namespace maps {

namespace {

using json::write_bool;
using json::write_enum;
using json::write_f64;
using json::write_int;
using json::write_string;
using json::write_uint;

void put(std::string& o, double v) { write_f64(o, v); }
void put(std::string& o, bool v) { write_bool(o, v); }
void put(std::string& o, std::uint8_t v) { write_uint(o, v); }
void put(std::string& o, std::uint32_t v) { write_uint(o, v); }
void put(std::string& o, std::int32_t v) { write_int(o, v); }
void put(std::string& o, const std::string& v) { write_string(o, v); }
template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
void put(std::string& o, E v) {
  write_enum(o, v);
}
template <HasFields R>
void put(std::string& o, const R& v);

template <class T>
void put(std::string& o, const std::optional<T>& v) {
  if (v) {
    put(o, *v);
  } else {
    o += "null";
  }
}

template <class T>
void put(std::string& o, const std::vector<T>& v) {
  o += '[';
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (i) o += ',';
    put(o, v[i]);
  }
  o += ']';
}

// `key` is the member's name with its quotes, a colon, and a leading '{' or ','.
template <class T>
void member(std::string& o, std::string_view key, const T& v) {
  o += key;
  put(o, v);
}

// `{"key":value,...}` in field order.
template <HasFields R>
void put(std::string& o, const R& v) {
  for_each_field<R>([&](const auto& f, std::size_t i) {
    o += i == 0 ? R"({")" : R"(,")";
    o += f.key;
    o += R"(":)";
    put(o, v.*f.member);
  });
  o += '}';
}

void put_tag(std::string& o, std::string_view name) {
  o += R"({")";
  o += name;
  o += R"(":)";
}

// A variant without fields is its name; one with fields an object whose one member, named
// after the variant, holds them.
struct VariantWriter {
  std::string& o;
  std::string_view name;
  template <class V>
  void operator()(const V& v) {
    if constexpr (!HasFields<V>) {
      o += '"';
      o += name;
      o += '"';
    } else {
      put_tag(o, name);
      put(o, v);
      o += '}';
    }
  }
  void operator()(const MapsAction::AddRegion& a) {
    put_tag(o, name);
    put(o, a.region);
    o += '}';
  }
};

void append_bytes(std::vector<std::uint8_t>& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

void serialize_json(const LatLon& v, std::string& out) { put(out, v); }
void serialize_json(const Place& v, std::string& out) { put(out, v); }
void serialize_json(const RouteStep& v, std::string& out) { put(out, v); }
void serialize_json(const Route& v, std::string& out) { put(out, v); }
void serialize_json(const TransitLeg& v, std::string& out) { put(out, v); }
void serialize_json(const TransitJourney& v, std::string& out) { put(out, v); }
void serialize_json(const TransitTime& v, std::string& out) { put(out, v); }
void serialize_json(const DownloadedRegion& v, std::string& out) { put(out, v); }
void serialize_json(const ActivePlan& v, std::string& out) {
  std::visit(VariantWriter{out, kActivePlanNames[v.value.index()]}, v.value);
}
void serialize_json(const MapsAction& v, std::string& out) { std::visit(VariantWriter{out, action_name(v)}, v.value); }
void serialize_json(Category v, std::string& out) { put(out, v); }
void serialize_json(TravelMode v, std::string& out) { put(out, v); }
void serialize_json(Maneuver v, std::string& out) { put(out, v); }
void serialize_json(TransitMode v, std::string& out) { put(out, v); }
void serialize_json(TransitTimeMode v, std::string& out) { put(out, v); }

void serialize_maps_action_json(const MapsAction& action, std::string& out) { serialize_json(action, out); }

void serialize_maps_action_json(const MapsAction& action, std::vector<std::uint8_t>& out) {
  std::string text;
  serialize_json(action, text);
  append_bytes(out, text);
}

void serialize_active_plan_json(const ActivePlan& plan, std::string& out) { serialize_json(plan, out); }

void serialize_active_plan_json(const ActivePlan& plan, std::vector<std::uint8_t>& out) {
  std::string text;
  serialize_json(plan, text);
  append_bytes(out, text);
}

void serialize_transit_time_json(const TransitTime& time, std::string& out) { serialize_json(time, out); }

void serialize_transit_time_json(const TransitTime& time, std::vector<std::uint8_t>& out) {
  std::string text;
  serialize_json(time, text);
  append_bytes(out, text);
}

}  // namespace maps

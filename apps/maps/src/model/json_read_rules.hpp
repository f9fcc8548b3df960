#pragma once
// The reading rules shared by every record: primitives with their ranges, lists, optional values,
// enumerations, and the record form (an object with members in any order, or an array of the
// members in order). Recursion follows the record types only, so its depth is fixed by them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "model/json_reader.hpp"
#include "model/record_fields.hpp"
#include "model/records.hpp"

namespace maps::json {

bool read_value(Reader& r, double& v);
bool read_value(Reader& r, bool& v);
bool read_value(Reader& r, std::string& v);
bool read_value(Reader& r, std::uint8_t& v);
bool read_value(Reader& r, std::uint32_t& v);
bool read_value(Reader& r, std::uint64_t& v);
bool read_value(Reader& r, std::int32_t& v);
bool read_value(Reader& r, LatLon& v);
bool read_value(Reader& r, Place& v);
bool read_value(Reader& r, RouteStep& v);
bool read_value(Reader& r, Route& v);
bool read_value(Reader& r, TransitLeg& v);
bool read_value(Reader& r, TransitJourney& v);
bool read_value(Reader& r, TransitTime& v);
bool read_value(Reader& r, DownloadedRegion& v);
bool read_value(Reader& r, MapModel& v);
bool read_value(Reader& r, ActivePlan& v);
bool read_value(Reader& r, MapsAction& v);

// "`A`", "`A` or `B`", "one of `A`, `B`, `C`".
std::string expected_names(const std::string_view* names, std::size_t count);
bool unknown_variant(Reader& r, std::string_view name, const std::string_view* names, std::size_t count);
// A variant without data given as an object member: its value must be null.
bool read_unit(Reader& r);

template <class E>
bool read_enum(Reader& r, E& v, std::string_view description) {
  constexpr auto& names = EnumNames<E>::names;
  const char c = r.peek();
  std::string& name = r.scratch();
  if (c == '"') {
    if (!r.parse_string(&name)) return false;
  } else if (c == '{') {
    r.bump();
    const Step s = r.object_first(name);
    if (s == Step::Error) return false;
    if (s == Step::End) return r.fail("expected value");
  } else {
    return r.invalid_type(description);
  }
  const auto e = enum_from_name<E>(name);
  if (!e) return unknown_variant(r, name, names.data(), names.size());
  v = *e;
  if (c == '"') return true;
  if (!r.colon() || !read_unit(r)) return false;
  if (r.peek() == '}') {
    r.bump();
    return true;
  }
  return r.at_end() ? r.fail("EOF while parsing an object") : r.fail("expected `}`");
}

inline bool read_value(Reader& r, Category& v) { return read_enum(r, v, "enum Category"); }
inline bool read_value(Reader& r, TravelMode& v) { return read_enum(r, v, "enum TravelMode"); }
inline bool read_value(Reader& r, Maneuver& v) { return read_enum(r, v, "enum Maneuver"); }
inline bool read_value(Reader& r, TransitMode& v) { return read_enum(r, v, "enum TransitMode"); }
inline bool read_value(Reader& r, TransitTimeMode& v) { return read_enum(r, v, "enum TransitTimeMode"); }
inline bool read_value(Reader& r, Panel& v) { return read_enum(r, v, "enum Panel"); }

template <class T>
bool read_value(Reader& r, std::optional<T>& v) {
  if (r.peek() == 'n') {
    v.reset();
    return r.parse_null();
  }
  return read_value(r, v.emplace());
}

template <class T>
bool read_value(Reader& r, std::vector<T>& v) {
  if (r.peek() != '[') return r.invalid_type("a sequence");
  r.bump();
  v.clear();
  bool first = true;
  for (;;) {
    const Step s = r.array_has_next(first);
    if (s == Step::Error) return false;
    if (s == Step::End) break;
    if (!read_value(r, v.emplace_back())) return false;
  }
  return r.array_end();
}

template <class T, std::size_t I>
bool read_member(Reader& r, T& v) {
  return read_value(r, v.*(std::get<I>(RecordFields<T>::fields).member));
}

// A record's fields as the reader looks them up: key, how it may be missing, and its reader.
template <class T>
struct Member {
  std::string_view name;
  Absent absent;
  bool (*read)(Reader&, T&);
};

template <class T>
inline constexpr auto kMembers = []<std::size_t... I>(std::index_sequence<I...>) {
  return std::array<Member<T>, sizeof...(I)>{Member<T>{
      std::get<I>(RecordFields<T>::fields).key, std::get<I>(RecordFields<T>::fields).in_json, &read_member<T, I>}...};
}
(std::make_index_sequence<kFieldCount<T>>{});

// Reads into `out`, which holds the record's defaults; members not given keep them. An object
// takes its members in any order, an array takes them in field order.
template <class T>
bool read_record(Reader& r, T& out) {
  constexpr std::size_t N = kFieldCount<T>;
  static_assert(N <= 32);
  constexpr const auto& members = kMembers<T>;
  const char c = r.peek();
  if (c == '{') {
    r.bump();
    std::uint32_t seen = 0;
    std::string& key = r.scratch();
    for (Step s = r.object_first(key); s != Step::End; s = r.object_next(key)) {
      if (s == Step::Error) return false;
      std::size_t i = 0;
      while (i < N && members[i].name != key) ++i;
      if (i == N) {
        if (!r.colon() || !r.skip_value()) return false;
        continue;
      }
      const std::uint32_t bit = std::uint32_t{1} << i;
      if (seen & bit) return r.fail(fmt::format("duplicate field `{}`", members[i].name));
      seen |= bit;
      if (!r.colon() || !members[i].read(r, out)) return false;
    }
    for (std::size_t i = 0; i < N; ++i) {
      if (!(seen & (std::uint32_t{1} << i)) && members[i].absent == Absent::Required) {
        return r.fail(fmt::format("missing field `{}`", members[i].name));
      }
    }
    return true;
  }
  if (c == '[') {
    r.bump();
    bool first = true;
    bool ended = false;
    for (std::size_t i = 0; i < N; ++i) {
      if (!ended) {
        const Step s = r.array_has_next(first);
        if (s == Step::Error) return false;
        ended = s == Step::End;
      }
      if (ended) {
        if (members[i].absent != Absent::Default) {
          return r.fail(fmt::format("invalid length {}, expected {} with {} element{}", i, RecordFields<T>::description,
                                    N, N == 1 ? "" : "s"));
        }
        continue;
      }
      if (!members[i].read(r, out)) return false;
    }
    return r.array_end();
  }
  return r.invalid_type(RecordFields<T>::description);
}

}  // namespace maps::json

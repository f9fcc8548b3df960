// Plans and actions: a variant without fields is its name as a string; any variant may be an object
// whose one member, named after the variant, holds its fields (null for a variant without fields).
#include "model/json_read_rules.hpp"

namespace maps::json {

namespace {

enum class Shape : std::uint8_t { Unit, Struct, Newtype };

using A = MapsAction;

constexpr std::array<Shape, 13> kActionShapes = {
    Shape::Struct, Shape::Struct, Shape::Struct, Shape::Unit,    Shape::Struct, Shape::Struct, Shape::Unit,
    Shape::Struct, Shape::Struct, Shape::Unit,   Shape::Newtype, Shape::Struct, Shape::Unit};
constexpr std::array<Shape, 3> kPlanShapes = {Shape::Unit, Shape::Struct, Shape::Struct};

// Reads the value of the variant's member (the cursor is after the colon).
bool read_action_body(Reader& r, std::size_t index, MapsAction& out) {
  switch (index) {
    case 0: return read_record(r, out.value.emplace<A::UpsertPlaces>());
    case 1: return read_record(r, out.value.emplace<A::SetPlaceSaved>());
    case 2: return read_record(r, out.value.emplace<A::CommitSearch>());
    case 3: out.value.emplace<A::ClearRecents>(); return read_unit(r);
    case 4: return read_record(r, out.value.emplace<A::SetTravelMode>());
    case 5: return read_record(r, out.value.emplace<A::SetTransitTime>());
    case 6: out.value.emplace<A::ClearRoute>(); return read_unit(r);
    case 7: return read_record(r, out.value.emplace<A::SetRoute>());
    case 8: return read_record(r, out.value.emplace<A::SetTransit>());
    case 9: out.value.emplace<A::ClearTransit>(); return read_unit(r);
    case 10: return read_value(r, out.value.emplace<A::AddRegion>().region);
    case 11: return read_record(r, out.value.emplace<A::DeleteRegion>());
    case 12: out.value.emplace<A::ClearRegions>(); return read_unit(r);
    default: return false;
  }
}

bool read_plan_body(Reader& r, std::size_t index, ActivePlan& out) {
  switch (index) {
    case 0: out.value.emplace<ActivePlan::None>(); return read_unit(r);
    case 1: return read_record(r, out.value.emplace<ActivePlan::Route>());
    case 2: return read_record(r, out.value.emplace<ActivePlan::Transit>());
    default: return false;
  }
}

// `body(reader, index)` reads the variant's value; `unit(index)` makes a variant without fields
// (by reading its body from the text "null", which is what its object form holds).
template <std::size_t N, class Body, class Unit>
bool read_tagged(Reader& r, const std::array<std::string_view, N>& names, const std::array<Shape, N>& shapes,
                 std::string_view description, Body body, Unit unit) {
  const auto find = [&](std::string_view name) {
    std::size_t i = 0;
    while (i < N && names[i] != name) ++i;
    return i;
  };
  const char c = r.peek();
  std::string& name = r.scratch();
  if (c == '"') {
    if (!r.parse_string(&name)) return false;
    const std::size_t i = find(name);
    if (i == N) return unknown_variant(r, name, names.data(), N);
    switch (shapes[i]) {
      case Shape::Unit: unit(i); return true;
      case Shape::Struct: return r.fail("invalid type: unit variant, expected struct variant");
      case Shape::Newtype: return r.fail("invalid type: unit variant, expected newtype variant");
    }
    return false;
  }
  if (c != '{') return r.at_end() ? r.fail("EOF while parsing a value") : r.invalid_type(description);
  r.bump();
  const char k = r.peek();
  if (k != '"') {
    if (r.at_end()) return r.fail("EOF while parsing a value");
    if (k == '}' || k == ',' || k == ']' || k == ':') return r.fail("expected value");
    return r.invalid_type("variant identifier");
  }
  if (!r.parse_string(&name)) return false;
  const std::size_t i = find(name);
  if (i == N) return unknown_variant(r, name, names.data(), N);
  if (!r.colon() || !body(r, i)) return false;
  if (r.peek() == '}') {
    r.bump();
    return true;
  }
  return r.at_end() ? r.fail("EOF while parsing an object") : r.fail("expected `}`");
}

}  // namespace

bool read_value(Reader& r, MapsAction& v) {
  return read_tagged(
      r, kMapsActionNames, kActionShapes, "enum MapsAction",
      [&](Reader& rr, std::size_t i) { return read_action_body(rr, i, v); },
      [&](std::size_t i) {
        Reader none("null");
        read_action_body(none, i, v);
      });
}

bool read_value(Reader& r, ActivePlan& v) {
  return read_tagged(
      r, kActivePlanNames, kPlanShapes, "enum ActivePlan",
      [&](Reader& rr, std::size_t i) { return read_plan_body(rr, i, v); },
      [&](std::size_t i) {
        Reader none("null");
        read_plan_body(none, i, v);
      });
}

}  // namespace maps::json

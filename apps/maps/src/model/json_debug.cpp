// The debugging form of an action: records as `Name { field: value, ... }`, texts quoted,
// lists in brackets, optional values as `Some(...)` or `None`, enumerations by name.
#include <type_traits>

#include "model/json_codec.hpp"
#include "model/json_text.hpp"
#include "model/record_fields.hpp"

namespace maps {

namespace {

struct Debug {
  std::string& o;
  std::string_view action;  // the name of the action being written

  void value(double v) { json::append_debug_f64(o, v); }
  void value(bool v) { o += v ? "true" : "false"; }
  void value(std::uint8_t v) { o += std::to_string(v); }
  void value(std::uint32_t v) { o += std::to_string(v); }
  void value(std::int32_t v) { o += std::to_string(v); }
  void value(const std::string& v) { json::append_quoted(o, v); }
  template <class E, std::enable_if_t<std::is_enum_v<E>, int> = 0>
  void value(E v) {
    o += enum_name(v);
  }
  template <class T>
  void value(const std::optional<T>& v) {
    if (!v) {
      o += "None";
      return;
    }
    o += "Some(";
    value(*v);
    o += ')';
  }
  template <class T>
  void value(const std::vector<T>& v) {
    o += '[';
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (i) o += ", ";
      value(v[i]);
    }
    o += ']';
  }

  // Writes `Name { a: .., b: .. }`: open(name), then field() for each member, then close().
  void open(std::string_view name) {
    o += name;
    o += " { ";
  }
  template <class T>
  void field(std::string_view name, const T& v, bool last = false) {
    o += name;
    o += ": ";
    value(v);
    o += last ? " }" : ", ";
  }

  // `Name { key: value, ... }` in field order.
  template <HasFields R>
  void value(const R& v) {
    open(RecordFields<R>::name);
    for_each_field<R>([&](const auto& f, std::size_t i) { field(f.key, v.*f.member, i + 1 == kFieldCount<R>); });
  }

  // An action: its fields as a record of the action's name, or the name alone, or a region in
  // parentheses.
  template <class A>
  void operator()(const A& a) {
    if constexpr (HasFields<A>) {
      value(a);
    } else {
      o += action;
    }
  }
  void operator()(const MapsAction::AddRegion& a) {
    o += "AddRegion(";
    value(a.region);
    o += ')';
  }
};

}  // namespace

std::string maps_action_debug_text(const MapsAction& action) {
  std::string out;
  std::visit(Debug{out, action_name(action)}, action.value);
  return out;
}

}  // namespace maps

// Primitive values with their ranges, and the enumeration helpers.
#include <limits>

#include "model/json_read_rules.hpp"
#include "model/json_text.hpp"

namespace maps::json {

namespace {

bool is_number_start(char c) { return c == '-' || (c >= '0' && c <= '9'); }

std::string integer_text(const Number& n) {
  return n.kind == Number::Kind::Signed ? fmt::format("integer `{}`", n.i) : fmt::format("integer `{}`", n.u);
}

bool invalid_value(Reader& r, const Number& n, std::string_view expected) {
  return r.fail(fmt::format("invalid value: {}, expected {}", integer_text(n), expected));
}

bool float_for_integer(Reader& r, const Number& n, std::string_view expected) {
  std::string text = "floating point `";
  append_decimal_f64(text, n.f);
  text += '`';
  return r.fail(fmt::format("invalid type: {}, expected {}", text, expected));
}

// Integers only: no fraction, no exponent, within [min, max].
bool read_integer(Reader& r, std::int64_t min, std::uint64_t max, std::string_view expected, Number& n) {
  if (!is_number_start(r.peek())) return r.invalid_type(expected);
  if (!r.parse_number(n)) return false;
  switch (n.kind) {
    case Number::Kind::Float: return float_for_integer(r, n, expected);
    case Number::Kind::Unsigned:
      if (n.u > max) return invalid_value(r, n, expected);
      return true;
    case Number::Kind::Signed:
      if (n.i < min) return invalid_value(r, n, expected);
      return true;
  }
  return false;
}

}  // namespace

bool read_value(Reader& r, double& v) {
  if (!is_number_start(r.peek())) return r.invalid_type("f64");
  Number n;
  if (!r.parse_number(n)) return false;
  v = n.as_double();
  return true;
}

bool read_value(Reader& r, bool& v) {
  const char c = r.peek();
  if (c != 't' && c != 'f') return r.invalid_type("a boolean");
  return r.parse_bool(v);
}

bool read_value(Reader& r, std::string& v) {
  if (r.peek() != '"') return r.invalid_type("a string");
  return r.parse_string(&v);
}

bool read_value(Reader& r, std::uint8_t& v) {
  Number n;
  if (!read_integer(r, 0, std::numeric_limits<std::uint8_t>::max(), "u8", n)) return false;
  v = static_cast<std::uint8_t>(n.u);
  return true;
}

bool read_value(Reader& r, std::uint32_t& v) {
  Number n;
  if (!read_integer(r, 0, std::numeric_limits<std::uint32_t>::max(), "u32", n)) return false;
  v = static_cast<std::uint32_t>(n.u);
  return true;
}

bool read_value(Reader& r, std::uint64_t& v) {
  Number n;
  if (!read_integer(r, 0, std::numeric_limits<std::uint64_t>::max(), "u64", n)) return false;
  v = n.u;
  return true;
}

bool read_value(Reader& r, std::int32_t& v) {
  Number n;
  if (!read_integer(r, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), "i32", n)) {
    return false;
  }
  v = n.kind == Number::Kind::Signed ? static_cast<std::int32_t>(n.i) : static_cast<std::int32_t>(n.u);
  return true;
}

std::string expected_names(const std::string_view* names, std::size_t count) {
  if (count == 1) return fmt::format("`{}`", names[0]);
  if (count == 2) return fmt::format("`{}` or `{}`", names[0], names[1]);
  std::string out = "one of ";
  for (std::size_t i = 0; i < count; ++i) {
    if (i) out += ", ";
    out += fmt::format("`{}`", names[i]);
  }
  return out;
}

bool unknown_variant(Reader& r, std::string_view name, const std::string_view* names, std::size_t count) {
  if (count == 0) return r.fail(fmt::format("unknown variant `{}`, there are no variants", name));
  return r.fail(fmt::format("unknown variant `{}`, expected {}", name, expected_names(names, count)));
}

bool read_unit(Reader& r) {
  if (r.peek() != 'n') return r.invalid_type("unit");
  return r.parse_null();
}

}  // namespace maps::json

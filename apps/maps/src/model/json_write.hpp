#pragma once
// Compact JSON writing of single values, for the record writers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/enums.hpp"

namespace maps::json {

void write_string(std::string& out, std::string_view s);
void write_f64(std::string& out, double v);
inline void write_bool(std::string& out, bool v) { out += v ? "true" : "false"; }
void write_uint(std::string& out, std::uint64_t v);
void write_int(std::string& out, std::int64_t v);

template <class E>
void write_enum(std::string& out, E v) {
  out += '"';
  out += enum_name(v);
  out += '"';
}

}  // namespace maps::json

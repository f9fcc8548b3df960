#include "net/json_read.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace maps::json_read {

namespace {
const Json& null_value() {
  static const Json kNull;
  return kNull;
}

}  // namespace

const Json& member(const Json& value, std::string_view key) {
  if (!value.is_object()) return null_value();
  const auto it = value.find(key);
  return it == value.end() ? null_value() : *it;
}

const Json& element(const Json& value, std::size_t index) {
  if (!value.is_array() || index >= value.size()) return null_value();
  return value[index];
}

std::optional<std::string> text(const Json& value) {
  if (!value.is_string()) return std::nullopt;
  return value.get_ref<const std::string&>();
}

std::optional<double> number(const Json& value) {
  if (value.is_number_float()) {
    const double d = value.get<double>();
    if (!std::isfinite(d)) return std::nullopt;
    return d;
  }
  if (value.is_number_unsigned()) return static_cast<double>(value.get<std::uint64_t>());
  if (value.is_number_integer()) return static_cast<double>(value.get<std::int64_t>());
  return std::nullopt;
}

std::optional<std::int64_t> int64(const Json& value) {
  if (value.is_number_unsigned()) {
    const auto u = value.get<std::uint64_t>();
    if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    return static_cast<std::int64_t>(u);
  }
  if (value.is_number_integer()) return value.get<std::int64_t>();
  return std::nullopt;
}

std::optional<std::uint32_t> non_negative_u32(const Json& value) {
  if (value.is_number_unsigned()) return static_cast<std::uint32_t>(value.get<std::uint64_t>() & 0xFFFFFFFFu);
  if (value.is_number_integer()) {
    const auto i = value.get<std::int64_t>();
    if (i < 0) return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(i) & 0xFFFFFFFFu);
  }
  return std::nullopt;
}

std::optional<double> parse_f64(std::string_view text) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) return std::nullopt;
  }
  if (text.empty()) return std::nullopt;
  double out = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out, std::chars_format::general);
  if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  // A coordinate of inf or NaN would poison every distance and projection downstream.
  if (!std::isfinite(out)) return std::nullopt;
  return out;
}

std::optional<LatLon> position(std::optional<double> lat, std::optional<double> lon) {
  if (!lat || !lon) return std::nullopt;
  // Written so that NaN fails too.
  if (!(*lat >= -90.0 && *lat <= 90.0 && *lon >= -180.0 && *lon <= 180.0)) return std::nullopt;
  return LatLon{*lat, *lon};
}

std::vector<std::string_view> split(std::string_view text, char sep) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const auto pos = text.find(sep, start);
    if (pos == std::string_view::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

}  // namespace maps::json_read

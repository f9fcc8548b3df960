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

// Length of the Unicode white-space character starting at `s[i]`, or 0.
std::size_t space_len_at(std::string_view s, std::size_t i) {
  const auto b = [&](std::size_t k) { return i + k < s.size() ? static_cast<unsigned char>(s[i + k]) : 0u; };
  const unsigned c0 = b(0);
  if (c0 == ' ' || (c0 >= 0x09 && c0 <= 0x0D)) return 1;
  if (c0 == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0)) return 2;
  if (c0 == 0xE1 && b(1) == 0x9A && b(2) == 0x80) return 3;  // U+1680
  if (c0 == 0xE2 && b(1) == 0x80 && ((b(2) >= 0x80 && b(2) <= 0x8A) || b(2) == 0xA8 || b(2) == 0xA9 || b(2) == 0xAF)) {
    return 3;  // U+2000..200A, U+2028, U+2029, U+202F
  }
  if (c0 == 0xE2 && b(1) == 0x81 && b(2) == 0x9F) return 3;  // U+205F
  if (c0 == 0xE3 && b(1) == 0x80 && b(2) == 0x80) return 3;  // U+3000
  return 0;
}

// Length of a white-space character ending just before `s[end]`, or 0.
std::size_t space_len_before(std::string_view s, std::size_t end) {
  for (std::size_t len = 1; len <= 3 && len <= end; ++len) {
    if (space_len_at(s, end - len) == len) return len;
  }
  return 0;
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

std::string_view trim(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size()) {
    const auto n = space_len_at(text, begin);
    if (n == 0) break;
    begin += n;
  }
  std::size_t end = text.size();
  while (end > begin) {
    const auto n = space_len_before(text, end);
    if (n == 0 || end - n < begin) break;
    end -= n;
  }
  return text.substr(begin, end - begin);
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

#include "model/json_write.hpp"

#include <charconv>
#include <cmath>

#include "model/json_text.hpp"

namespace maps::json {

namespace {
constexpr char kHex[] = "0123456789abcdef";
}

void write_string(std::string& out, std::string_view s) {
  out += '"';
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const std::size_t run = i;
    while (i < n) {
      const auto c = static_cast<unsigned char>(s[i]);
      if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
      ++i;
    }
    out.append(s.data() + run, i - run);
    if (i >= n) break;
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0x80) {
      // Our strings should hold UTF-8; a stray byte becomes U+FFFD so the text stays readable JSON.
      const std::size_t len = utf8_sequence_length(s, i);
      if (len == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else {
        out.append(s.data() + i, len);
        i += len;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
    ++i;
  }
  out += '"';
}

void write_f64(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  append_json_f64(out, v);
}

void write_uint(std::string& out, std::uint64_t v) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

void write_int(std::string& out, std::int64_t v) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, res.ptr);
}

}  // namespace maps::json

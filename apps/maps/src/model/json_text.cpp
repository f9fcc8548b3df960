#include "model/json_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <fmt/format.h>

namespace maps::json {

namespace {

// Shortest round-trip digits of a finite value: value = 0.d1 d2 ... scaled so that
// d1.d2d3... * 10^exp, digits without leading or trailing zeros (except a single "0").
struct Decimal {
  char digits[24] = {};
  int len = 0;
  int exp = 0;
  bool neg = false;
};

Decimal shortest(double v) {
  Decimal d;
  d.neg = std::signbit(v);
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific);
  *res.ptr = '\0';  // atoi below must stop at the end of the exponent
  const char* p = buf;
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p != '.') d.digits[d.len++] = *p;
  }
  if (p < res.ptr) d.exp = std::atoi(p + 1);  // "e+07" / "e-07"; atoi takes the sign
  while (d.len > 1 && d.digits[d.len - 1] == '0') --d.len;
  return d;
}

void append_zeros(std::string& out, int n) {
  if (n > 0) out.append(static_cast<std::size_t>(n), '0');
}

void append_exponent_form(std::string& out, const Decimal& d) {
  out += d.digits[0];
  if (d.len > 1) {
    out += '.';
    out.append(d.digits + 1, static_cast<std::size_t>(d.len - 1));
  }
  out += 'e';
  out += std::to_string(d.exp);
}

// Decimal without exponent; returns whether a '.' was written.
bool append_plain(std::string& out, const Decimal& d) {
  const int kk = d.exp + 1;  // digits before the point
  if (kk <= 0) {
    out += "0.";
    append_zeros(out, -kk);
    out.append(d.digits, static_cast<std::size_t>(d.len));
    return true;
  }
  if (kk >= d.len) {
    out.append(d.digits, static_cast<std::size_t>(d.len));
    append_zeros(out, kk - d.len);
    return false;
  }
  out.append(d.digits, static_cast<std::size_t>(kk));
  out += '.';
  out.append(d.digits + kk, static_cast<std::size_t>(d.len - kk));
  return true;
}

}  // namespace

void append_json_f64(std::string& out, double v) {
  const Decimal d = shortest(v);
  if (d.neg) out += '-';
  const int kk = d.exp + 1;  // digits before the point
  if (kk > -5 && kk <= 16) {
    if (!append_plain(out, d)) out += ".0";
  } else {
    append_exponent_form(out, d);
  }
}

void append_decimal_f64(std::string& out, double v) {
  if (!std::isfinite(v)) {
    append_debug_f64(out, v);
    return;
  }
  const Decimal d = shortest(v);
  if (d.neg) out += '-';
  if (!append_plain(out, d)) out += ".0";
}

void append_debug_f64(std::string& out, double v) {
  if (std::isnan(v)) {
    out += "NaN";
    return;
  }
  if (std::isinf(v)) {
    out += v < 0 ? "-inf" : "inf";
    return;
  }
  const double a = std::fabs(v);
  const Decimal d = shortest(v);
  if (d.neg) out += '-';
  if (a != 0.0 && (a < 1e-4 || a >= 1e16)) {
    append_exponent_form(out, d);
  } else if (!append_plain(out, d)) {
    out += ".0";
  }
}

void append_quoted(std::string& out, std::string_view s) {
  out += '"';
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\0': out += "\\0"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += fmt::format("\\u{{{:x}}}", c);
        } else if (c >= 0x80) {
          const std::size_t len = utf8_sequence_length(s, i);
          if (len == 0) {
            out += "\\u{fffd}";
          } else {
            out.append(s.data() + i, len);
            i += len - 1;
          }
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

}  // namespace maps::json

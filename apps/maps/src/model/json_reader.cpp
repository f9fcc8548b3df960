#include "model/json_reader.hpp"

#include <charconv>
#include <limits>
#include <system_error>

#include <fmt/format.h>

#include "base/utf8.hpp"
#include "model/json_text.hpp"

namespace maps::json {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Decimal exponent of a literal's first significant digit; tells underflow from overflow when
// the conversion reports a value out of range.
long long magnitude(std::string_view lit) {
  std::size_t i = 0;
  if (i < lit.size() && lit[i] == '-') ++i;
  long long int_digits = 0;
  long long frac_zeros = 0;
  bool significant = false;
  for (; i < lit.size() && is_digit(lit[i]); ++i) {
    if (significant || lit[i] != '0') {
      significant = true;
      ++int_digits;
    }
  }
  if (i < lit.size() && lit[i] == '.') {
    for (++i; i < lit.size() && is_digit(lit[i]); ++i) {
      if (!significant) {
        if (lit[i] == '0') {
          ++frac_zeros;
        } else {
          significant = true;
        }
      }
    }
  }
  long long exp = 0;
  bool exp_neg = false;
  if (i < lit.size() && (lit[i] == 'e' || lit[i] == 'E')) {
    ++i;
    if (i < lit.size() && (lit[i] == '+' || lit[i] == '-')) exp_neg = lit[i++] == '-';
    for (; i < lit.size() && is_digit(lit[i]); ++i) {
      if (exp < 1'000'000'000) exp = exp * 10 + (lit[i] - '0');
    }
  }
  const long long lead = int_digits > 0 ? int_digits - 1 : -(frac_zeros + 1);
  return lead + (exp_neg ? -exp : exp);
}

}  // namespace

double Number::as_double() const {
  switch (kind) {
    case Kind::Unsigned: return static_cast<double>(u);
    case Kind::Signed: return static_cast<double>(i);
    case Kind::Float: break;
  }
  return f;
}

char Reader::peek() {
  while (pos_ < in_.size()) {
    const char c = in_[pos_];
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return c;
    ++pos_;
  }
  return '\0';
}

bool Reader::fail(std::string message) {
  if (!failed_) {
    failed_ = true;
    error_ = std::move(message);
  }
  return false;
}

bool Reader::parse_literal(std::string_view word) {
  for (const char w : word) {
    if (at_end()) return eof_value();
    if (in_[pos_] != w) return fail("expected ident");
    ++pos_;
  }
  return true;
}

bool Reader::parse_null() { return parse_literal("null"); }

bool Reader::parse_bool(bool& out) {
  out = in_[pos_] == 't';
  return parse_literal(out ? "true" : "false");
}

bool Reader::parse_hex4(unsigned& out) {
  out = 0;
  for (int k = 0; k < 4; ++k) {
    if (at_end()) return fail("EOF while parsing a string");
    const char c = in_[pos_++];
    unsigned d = 0;
    if (c >= '0' && c <= '9') {
      d = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      d = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      d = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return fail("invalid escape");
    }
    out = out * 16 + d;
  }
  return true;
}

bool Reader::parse_string(std::string* out) {
  ++pos_;  // the opening quote
  if (out) out->clear();
  const std::size_t n = in_.size();
  for (;;) {
    const std::size_t run = pos_;
    while (pos_ < n) {
      const auto c = static_cast<unsigned char>(in_[pos_]);
      if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
      ++pos_;
    }
    if (out) out->append(in_.data() + run, pos_ - run);
    if (pos_ >= n) return fail("EOF while parsing a string");
    const auto c = static_cast<unsigned char>(in_[pos_]);
    if (c == '"') {
      ++pos_;
      return true;
    }
    if (c < 0x20) return fail("control character (\\u0000-\\u001F) found while parsing a string");
    if (c >= 0x80) {
      const std::size_t len = utf8_sequence_length(in_, pos_);
      if (len == 0) return fail("invalid unicode code point");
      if (out) out->append(in_.data() + pos_, len);
      pos_ += len;
      continue;
    }
    ++pos_;  // the backslash
    if (pos_ >= n) return fail("EOF while parsing a string");
    const char e = in_[pos_++];
    char simple = 0;
    switch (e) {
      case '"': simple = '"'; break;
      case '\\': simple = '\\'; break;
      case '/': simple = '/'; break;
      case 'b': simple = '\b'; break;
      case 'f': simple = '\f'; break;
      case 'n': simple = '\n'; break;
      case 'r': simple = '\r'; break;
      case 't': simple = '\t'; break;
      case 'u': {
        unsigned cp = 0;
        if (!parse_hex4(cp)) return false;
        if (cp >= 0xDC00 && cp <= 0xDFFF) return fail("lone leading surrogate in hex escape");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
          if (pos_ + 1 >= n) return fail("EOF while parsing a string");
          if (in_[pos_] != '\\' || in_[pos_ + 1] != 'u') return fail("unexpected end of hex escape");
          pos_ += 2;
          unsigned lo = 0;
          if (!parse_hex4(lo)) return false;
          if (lo < 0xDC00 || lo > 0xDFFF) return fail("lone leading surrogate in hex escape");
          cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        }
        if (out) base::append_utf8(*out, cp);
        continue;
      }
      default: return fail("invalid escape");
    }
    if (out) *out += simple;
  }
}

bool Reader::parse_number(Number& out, bool check_only) {
  const std::size_t n = in_.size();
  const std::size_t start = pos_;
  const bool neg = in_[pos_] == '-';
  if (neg) ++pos_;
  if (at_end()) return eof_value();
  std::uint64_t sig = 0;
  bool overflow = false;
  if (in_[pos_] == '0') {
    ++pos_;
    if (pos_ < n && is_digit(in_[pos_])) return fail("invalid number");
  } else if (is_digit(in_[pos_])) {
    constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
    for (; pos_ < n && is_digit(in_[pos_]); ++pos_) {
      const auto d = static_cast<std::uint64_t>(in_[pos_] - '0');
      if (overflow || sig > (kMax - d) / 10) {
        overflow = true;
      } else {
        sig = sig * 10 + d;
      }
    }
  } else {
    return fail("invalid number");
  }
  bool is_float = false;
  if (pos_ < n && in_[pos_] == '.') {
    ++pos_;
    if (at_end()) return eof_value();
    if (!is_digit(in_[pos_])) return fail("invalid number");
    while (pos_ < n && is_digit(in_[pos_])) ++pos_;
    is_float = true;
  }
  if (pos_ < n && (in_[pos_] == 'e' || in_[pos_] == 'E')) {
    ++pos_;
    if (pos_ < n && (in_[pos_] == '+' || in_[pos_] == '-')) ++pos_;
    if (at_end()) return eof_value();
    if (!is_digit(in_[pos_])) return fail("invalid number");
    while (pos_ < n && is_digit(in_[pos_])) ++pos_;
    is_float = true;
  }
  if (check_only) return true;
  if (!is_float && !overflow) {
    if (!neg) {
      out.kind = Number::Kind::Unsigned;
      out.u = sig;
      return true;
    }
    constexpr std::uint64_t kMinMagnitude = std::uint64_t{1} << 63;
    // "-0" is a float, like every negative integer that does not fit.
    if (sig != 0 && sig <= kMinMagnitude) {
      out.kind = Number::Kind::Signed;
      out.i = sig == kMinMagnitude ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(sig);
      return true;
    }
  }
  const std::string_view lit = in_.substr(start, pos_ - start);
  double v = 0.0;
  const auto res = std::from_chars(lit.data(), lit.data() + lit.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    if (magnitude(lit) >= 0) return fail("number out of range");
    v = neg ? -0.0 : 0.0;
  } else if (res.ec != std::errc{} || res.ptr != lit.data() + lit.size()) {
    return fail("invalid number");
  }
  out.kind = Number::Kind::Float;
  out.f = v;
  return true;
}

Step Reader::object_first(std::string& key) {
  const char c = peek();
  if (at_end()) return fail("EOF while parsing an object"), Step::Error;
  if (c == '}') {
    bump();
    return Step::End;
  }
  if (c != '"') return fail("key must be a string"), Step::Error;
  return parse_string(&key) ? Step::Next : Step::Error;
}

Step Reader::object_next(std::string& key) {
  char c = peek();
  if (at_end()) return fail("EOF while parsing an object"), Step::Error;
  if (c == '}') {
    bump();
    return Step::End;
  }
  if (c != ',') return fail("expected `,` or `}`"), Step::Error;
  bump();
  c = peek();
  if (at_end()) return eof_value(), Step::Error;
  if (c == '}') return fail("trailing comma"), Step::Error;
  if (c != '"') return fail("key must be a string"), Step::Error;
  return parse_string(&key) ? Step::Next : Step::Error;
}

bool Reader::colon() {
  const char c = peek();
  if (at_end()) return fail("EOF while parsing an object");
  if (c != ':') return fail("expected `:`");
  bump();
  return true;
}

Step Reader::array_has_next(bool& first) {
  char c = peek();
  if (at_end()) return fail("EOF while parsing a list"), Step::Error;
  if (c == ']') return Step::End;
  if (first) {
    first = false;
    return Step::Next;
  }
  if (c != ',') return fail("expected `,` or `]`"), Step::Error;
  bump();
  c = peek();
  if (at_end()) return eof_value(), Step::Error;
  if (c == ']') return fail("trailing comma"), Step::Error;
  return Step::Next;
}

bool Reader::array_end() {
  const char c = peek();
  if (at_end()) return fail("EOF while parsing a list");
  if (c == ']') {
    bump();
    return true;
  }
  if (c == ',') {
    bump();
    if (peek() == ']') return fail("trailing comma");
  }
  return fail("trailing characters");
}

bool Reader::skip_value() {
  std::string open;  // '[' or '{' per open container; grows with the input's nesting
  std::string& key = scratch_;
  for (;;) {
    const char c = peek();
    if (at_end()) return eof_value();
    switch (c) {
      case '[':
        bump();
        if (peek() == ']') {
          bump();
          break;
        }
        open.push_back('[');
        continue;
      case '{': {
        bump();
        const Step s = object_first(key);
        if (s == Step::Error) return false;
        if (s == Step::End) break;
        if (!colon()) return false;
        open.push_back('{');
        continue;
      }
      case '"':
        if (!parse_string(nullptr)) return false;
        break;
      case 't':
      case 'f': {
        bool b = false;
        if (!parse_bool(b)) return false;
        break;
      }
      case 'n':
        if (!parse_null()) return false;
        break;
      default: {
        if (c != '-' && !is_digit(c)) return fail("expected value");
        Number num;
        if (!parse_number(num, true)) return false;
      }
    }
    // A value ended: close finished containers, or stop before the next element.
    for (;;) {
      if (open.empty()) return true;
      if (open.back() == '[') {
        bool first = false;
        const Step s = array_has_next(first);
        if (s == Step::Error) return false;
        if (s == Step::Next) break;
        bump();
        open.pop_back();
      } else {
        const Step s = object_next(key);
        if (s == Step::Error) return false;
        if (s == Step::Next) {
          if (!colon()) return false;
          break;
        }
        open.pop_back();
      }
    }
  }
}

bool Reader::invalid_type(std::string_view expected) {
  const char c = peek();
  if (at_end()) return eof_value();
  std::string what;
  switch (c) {
    case 'n':
      if (!parse_null()) return false;
      what = "null";
      break;
    case 't':
    case 'f': {
      bool b = false;
      if (!parse_bool(b)) return false;
      what = b ? "boolean `true`" : "boolean `false`";
      break;
    }
    case '"': {
      std::string s;
      if (!parse_string(&s)) return false;
      what = "string ";
      append_quoted(what, s);
      break;
    }
    case '[': what = "sequence"; break;
    case '{': what = "map"; break;
    default: {
      if (c != '-' && !is_digit(c)) return fail("expected value");
      Number num;
      if (!parse_number(num)) return false;
      if (num.kind == Number::Kind::Unsigned) {
        what = fmt::format("integer `{}`", num.u);
      } else if (num.kind == Number::Kind::Signed) {
        what = fmt::format("integer `{}`", num.i);
      } else {
        what = "floating point `";
        append_decimal_f64(what, num.f);
        what += '`';
      }
    }
  }
  return fail(fmt::format("invalid type: {}, expected {}", what, expected));
}

bool Reader::finish() {
  peek();
  if (!at_end()) return fail("trailing characters");
  return true;
}

}  // namespace maps::json

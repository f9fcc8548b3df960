#include "text_edit.hpp"

#include <algorithm>

#include "base/utf8.hpp"

namespace zarn_ui::widgets::text_edit {
namespace {

struct Decoded {
  char32_t cp = 0xFFFD;
  std::size_t len = 1;
  bool valid = false;
};

// One code point at `i`; anything that is not a well-formed sequence is one invalid byte.
Decoded decode(std::string_view s, std::size_t i) {
  const base::Utf8CodePoint d = base::utf8_decode(s, i);
  if (d.length == 0) return {};
  return {d.value, d.length, true};
}

// Code points that belong to the character before them.
bool extends(char32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) || (cp >= 0x1DC0 && cp <= 0x1DFF) ||
         (cp >= 0x20D0 && cp <= 0x20FF) || (cp >= 0xFE00 && cp <= 0xFE0F) || (cp >= 0xFE20 && cp <= 0xFE2F) ||
         (cp >= 0x1F3FB && cp <= 0x1F3FF) || (cp >= 0xE0100 && cp <= 0xE01EF);
}

constexpr char32_t kZeroWidthJoiner = 0x200D;

bool is_space(char32_t cp) {
  return cp == ' ' || (cp >= 0x09 && cp <= 0x0D) || cp == 0xA0 || cp == 0x1680 || (cp >= 0x2000 && cp <= 0x200A) ||
         cp == 0x2028 || cp == 0x2029 || cp == 0x202F || cp == 0x205F || cp == 0x3000;
}

bool is_punct(char32_t cp) {
  if (cp < 0x80)
    return (cp >= '!' && cp <= '/') || (cp >= ':' && cp <= '@') || (cp >= '[' && cp <= '`') || (cp >= '{' && cp <= '~');
  return cp == 0xA1 || cp == 0xAB || cp == 0xB7 || cp == 0xBB || cp == 0xBF || (cp >= 0x2010 && cp <= 0x2027) ||
         (cp >= 0x2030 && cp <= 0x205E) || (cp >= 0x3001 && cp <= 0x3003);
}

// The character starting at a boundary is part of a word.
bool word_at(std::string_view s, std::size_t i) {
  const Decoded d = decode(s, i);
  return d.valid && !is_space(d.cp) && !is_punct(d.cp);
}

}  // namespace

std::vector<std::size_t> boundaries(std::string_view s) {
  std::vector<std::size_t> out;
  out.reserve(s.size() + 1);
  std::size_t i = 0;
  while (i < s.size()) {
    out.push_back(i);
    Decoded d = decode(s, i);
    i += d.len;
    // Marks and joined code points stay with the character; an invalid byte stands alone.
    while (d.valid && i < s.size()) {
      const Decoded next = decode(s, i);
      if (!next.valid) break;
      if (d.cp == kZeroWidthJoiner || extends(next.cp) || next.cp == kZeroWidthJoiner) {
        i += next.len;
        d = next;
        continue;
      }
      break;
    }
  }
  out.push_back(s.size());
  return out;
}

std::size_t snap(std::string_view s, std::size_t at) {
  if (at >= s.size()) return s.size();
  const auto b = boundaries(s);
  return *(std::upper_bound(b.begin(), b.end(), at) - 1);
}

std::size_t prev_char(std::string_view s, std::size_t at) {
  if (at == 0) return 0;
  const auto b = boundaries(s);
  const auto it = std::lower_bound(b.begin(), b.end(), std::min(at, s.size()));
  return it == b.begin() ? 0 : *(it - 1);
}

std::size_t next_char(std::string_view s, std::size_t at) {
  if (at >= s.size()) return s.size();
  const auto b = boundaries(s);
  return *std::upper_bound(b.begin(), b.end(), at);
}

std::size_t word_left(std::string_view s, std::size_t at) {
  const auto b = boundaries(s);
  auto it = std::lower_bound(b.begin(), b.end(), std::min(at, s.size()));
  while (it != b.begin() && !word_at(s, *(it - 1))) --it;
  while (it != b.begin() && word_at(s, *(it - 1))) --it;
  return *it;
}

std::size_t word_right(std::string_view s, std::size_t at) {
  const auto b = boundaries(s);
  auto it = std::upper_bound(b.begin(), b.end(), std::min(at, s.size()));
  --it;  // the boundary at or before `at`
  while (*it < s.size() && !word_at(s, *it)) ++it;
  while (*it < s.size() && word_at(s, *it)) ++it;
  return *it;
}

std::string sanitize_line(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const Decoded d = decode(s, i);
    if (!d.valid) {
      out += "\xEF\xBF\xBD";
    } else if (d.cp == '\r' || d.cp == '\n' || d.cp == '\t' || d.cp == 0x2028 || d.cp == 0x2029) {
      if (!(d.cp == '\n' && i > 0 && s[i - 1] == '\r')) out += ' ';
    } else if (d.cp >= 0x20 && d.cp != 0x7F && !(d.cp >= 0x80 && d.cp < 0xA0)) {
      out.append(s.substr(i, d.len));
    }
    i += d.len;
  }
  return out;
}

std::size_t code_point_offset(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t k = 0; k < n && i < s.size(); ++k) i += decode(s, i).len;
  return std::min(i, s.size());
}

std::size_t fit_prefix(std::string_view s, std::size_t max_bytes) { return snap(s, max_bytes); }

std::size_t code_point_floor(std::string_view s, std::size_t at) {
  if (at >= s.size()) return s.size();
  std::size_t p = at;
  for (int k = 0; k < 3 && p > 0 && base::is_utf8_continuation(s[p]); ++k) --p;
  return base::is_utf8_continuation(s[p]) ? at : p;
}

}  // namespace zarn_ui::widgets::text_edit

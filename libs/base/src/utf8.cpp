#include "base/utf8.hpp"

namespace base {

std::size_t utf8_sequence_length(std::string_view s, std::size_t i) {
  if (i >= s.size()) return 0;
  const auto at = [&](std::size_t k) -> unsigned { return static_cast<unsigned char>(s[k]); };
  const unsigned c = at(i);
  if (c < 0x80) return 1;
  std::size_t len = 0;
  unsigned lo = 0x80;
  unsigned hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    if (c == 0xE0) lo = 0xA0;  // overlong
    if (c == 0xED) hi = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    if (c == 0xF0) lo = 0x90;  // overlong
    if (c == 0xF4) hi = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  const unsigned c1 = at(i + 1);
  if (c1 < lo || c1 > hi) return 0;
  for (std::size_t k = 2; k < len; ++k) {
    const unsigned ck = at(i + k);
    if (ck < 0x80 || ck > 0xBF) return 0;
  }
  return len;
}

bool is_valid_utf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = utf8_sequence_length(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

Utf8CodePoint utf8_decode(std::string_view s, std::size_t i) {
  const std::size_t n = utf8_sequence_length(s, i);
  if (n == 0) return {};
  char32_t cp = static_cast<unsigned char>(s[i]) & (n == 1 ? 0x7Fu : 0x7Fu >> n);
  for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
  return {cp, n};
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace base

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

}  // namespace base

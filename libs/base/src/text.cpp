#include "base/text.hpp"

#include <cstdint>

namespace base {
namespace {

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

std::string_view trim_white_space(std::string_view text) {
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

std::string ascii_lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace base

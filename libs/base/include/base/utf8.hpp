#pragma once
// UTF-8 byte arithmetic shared by the text fields, text fitting, the services and the files.

#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// A byte that continues a multi-byte character (10xxxxxx).
constexpr bool is_utf8_continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// True when `at` is the end of the text or does not fall on a continuation byte.
constexpr bool is_utf8_boundary(std::string_view s, std::size_t at) {
  return at >= s.size() || !is_utf8_continuation(s[at]);
}

// The start of the character before `at` (0 at the start). Continuation bytes are skipped
// backwards, so a text is never cut inside a character.
constexpr std::size_t utf8_prev_boundary(std::string_view s, std::size_t at) {
  if (at == 0) return 0;
  if (at > s.size()) at = s.size();
  --at;
  while (at > 0 && is_utf8_continuation(s[at])) --at;
  return at;
}

// The end of the character that starts at `at`: its lead byte and the continuation bytes after it.
constexpr std::size_t utf8_next_boundary(std::string_view s, std::size_t at) {
  if (at >= s.size()) return s.size();
  ++at;
  while (at < s.size() && is_utf8_continuation(s[at])) ++at;
  return at;
}

// Byte length of the well-formed UTF-8 sequence starting at s[i] (1 to 4), or 0 when the bytes
// there are not one: overlong forms, surrogates, values past U+10FFFF and cut sequences are refused.
std::size_t utf8_sequence_length(std::string_view s, std::size_t i);

bool is_valid_utf8(std::string_view text);

// The code point of the well-formed sequence at s[i] and its byte length; length 0 (and U+FFFD)
// where the bytes there are not one.
struct Utf8CodePoint {
  char32_t value = 0xFFFD;
  std::size_t length = 0;
};
Utf8CodePoint utf8_decode(std::string_view s, std::size_t i);

// Appends the UTF-8 form of `cp`; a value that is no character (a surrogate, past U+10FFFF)
// becomes U+FFFD.
void append_utf8(std::string& out, char32_t cp);

}  // namespace base

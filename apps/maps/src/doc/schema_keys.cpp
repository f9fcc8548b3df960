#include "doc/schema_keys.hpp"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace maps::doc {

std::string hex_encode_bytes(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0xf]);
  }
  return out;
}

std::string_view trim_unicode(std::string_view text) {
  const auto* s = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto n = static_cast<std::int32_t>(text.size());
  std::int32_t begin = 0;
  while (begin < n) {
    std::int32_t next = begin;
    UChar32 c = 0;
    U8_NEXT(s, next, n, c);
    if (c < 0 || !u_isUWhiteSpace(c)) break;
    begin = next;
  }
  std::int32_t end = n;
  while (end > begin) {
    std::int32_t prev = end;
    UChar32 c = 0;
    U8_PREV(s, begin, prev, c);
    if (c < 0 || !u_isUWhiteSpace(c)) break;
    end = prev;
  }
  return text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

std::string recent_search_key(std::string_view text) {
  const std::string_view trimmed = trim_unicode(text);
  icu::UnicodeString u =
      icu::UnicodeString::fromUTF8(icu::StringPiece(trimmed.data(), static_cast<std::int32_t>(trimmed.size())));
  u.toLower(icu::Locale::getRoot());
  std::string lower;
  u.toUTF8String(lower);
  return hex_encode_bytes(lower);
}

bool eq_ignore_ascii_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

}  // namespace maps::doc

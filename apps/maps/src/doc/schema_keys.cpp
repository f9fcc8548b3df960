#include "doc/schema_keys.hpp"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstdint>

#include "base/text.hpp"

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

std::string recent_search_key(std::string_view text) {
  const std::string_view trimmed = base::trim_white_space(text);
  icu::UnicodeString u =
      icu::UnicodeString::fromUTF8(icu::StringPiece(trimmed.data(), static_cast<std::int32_t>(trimmed.size())));
  u.toLower(icu::Locale::getRoot());
  std::string lower;
  u.toUTF8String(lower);
  return hex_encode_bytes(lower);
}

}  // namespace maps::doc

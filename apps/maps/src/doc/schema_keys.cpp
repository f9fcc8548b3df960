#include "doc/schema_keys.hpp"

#include <cstdint>

#include "base/text.hpp"
#include "search/text_case.hpp"

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
  return hex_encode_bytes(search::lower_case_text(base::trim_white_space(text)));
}

}  // namespace maps::doc

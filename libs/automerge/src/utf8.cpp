#include "utf8.hpp"

#include <cstdint>

namespace automerge::detail {

std::optional<std::vector<std::string>> split_code_points(std::string_view s) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<std::uint8_t>(s[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xe ? 3 : (b >> 3) == 0x1e ? 4 : 0;
    if (n == 0 || i + n > s.size()) return std::nullopt;
    std::uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1fu) : n == 3 ? (b & 0x0fu) : (b & 0x07u);
    for (std::size_t k = 1; k < n; ++k) {
      auto c = static_cast<std::uint8_t>(s[i + k]);
      if ((c >> 6) != 0x2) return std::nullopt;
      cp = (cp << 6) | (c & 0x3fu);
    }
    static constexpr std::uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) return std::nullopt;
    out.emplace_back(s.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace automerge::detail

#include "utf8.hpp"

#include "base/utf8.hpp"

namespace automerge::detail {

std::optional<std::vector<std::string>> split_code_points(std::string_view s) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t n = base::utf8_sequence_length(s, i);
    if (n == 0) return std::nullopt;
    out.emplace_back(s.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace automerge::detail

#pragma once
// UTF-8 code point splitting for text objects (one element per code point).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace automerge::detail {

// None when the text is not valid UTF-8 (overlong forms, surrogates and values past U+10FFFF
// included).
std::optional<std::vector<std::string>> split_code_points(std::string_view text);

}  // namespace automerge::detail

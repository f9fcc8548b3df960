#pragma once
// Lower-casing and search folding. Both use the root locale's full Unicode case mappings, so the
// results never depend on the user's locale. ICU is opened only for a text that needs it (one with
// a character past ASCII that the folding table does not cover); without ICU, only ASCII letters
// are lowered and other characters are kept as they are.

#include <string>
#include <string_view>

#include "icu/icu_library.hpp"

namespace maps::search {

// Full Unicode lower case of the whole text (UTF-8; invalid bytes become U+FFFD).
std::string lower_case_text(std::string_view text);
std::string lower_case_text(std::string_view text, IcuLoader& icu);

// The text as names and queries are compared: trimmed, white-space runs as one space, the accented
// Latin-1 letters of the folding table replaced by their base letters ("ß" by "ss"), everything else
// lower-cased one character at a time.
std::string fold_search_text(std::string_view text);
std::string fold_search_text(std::string_view text, IcuLoader& icu);

}  // namespace maps::search

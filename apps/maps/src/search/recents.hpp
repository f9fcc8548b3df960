#pragma once
// The list of recent search texts, newest first.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace maps::search {

inline constexpr std::size_t kMaxRecentSearches = 8;

// Two texts name the same recent search when they are equal once trimmed and lower-cased with
// full Unicode case mapping: the rule by which the document keys its recent records.
bool same_recent_search(std::string_view a, std::string_view b);

// Puts the trimmed text at the front as typed, drops every older entry that is the same search
// and keeps the first kMaxRecentSearches. A blank text changes nothing.
void push_recent_search(std::vector<std::string>& recents, std::string_view text);

}  // namespace maps::search

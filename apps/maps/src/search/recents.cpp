#include "search/recents.hpp"

#include <algorithm>

#include "base/text.hpp"
#include "search/text_case.hpp"

namespace maps::search {
namespace {

std::string recent_identity(std::string_view text) { return lower_case_text(base::trim_white_space(text)); }

}  // namespace

bool same_recent_search(std::string_view a, std::string_view b) { return recent_identity(a) == recent_identity(b); }

void push_recent_search(std::vector<std::string>& recents, std::string_view text) {
  const std::string_view trimmed = base::trim_white_space(text);
  if (trimmed.empty()) return;
  // Comparing only ASCII letters without case would keep "münchen" beside "MÜNCHEN"; the document
  // stores both under one key, and the older entry would then overwrite the search just made.
  const std::string identity = lower_case_text(trimmed);
  std::erase_if(recents, [&](const std::string& r) { return recent_identity(r) == identity; });
  recents.insert(recents.begin(), std::string(trimmed));
  if (recents.size() > kMaxRecentSearches) recents.resize(kMaxRecentSearches);
}

}  // namespace maps::search

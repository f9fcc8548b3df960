#include "search/match_rank.hpp"

#include <string>

#include "search/text_case.hpp"

namespace maps::search {

MatchRank match_rank(std::string_view query, std::string_view name) {
  const std::string fq = fold_search_text(query);
  if (fq.empty()) return MatchRank::Exact;
  const std::string fn = fold_search_text(name);
  if (fn == fq) return MatchRank::Exact;
  if (fn.starts_with(fq)) return MatchRank::Prefix;
  if (fn.find(fq) != std::string::npos) return MatchRank::Substring;
  return MatchRank::Other;
}

}  // namespace maps::search

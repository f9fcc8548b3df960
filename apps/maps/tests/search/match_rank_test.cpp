#include "search/match_rank.hpp"

#include <gtest/gtest.h>

#include <string>

namespace maps::search {
namespace {

TEST(MatchRank, Table) {
  const struct {
    std::string query;
    std::string name;
    MatchRank rank;
  } cases[] = {
      {"museum", "Museum", MatchRank::Exact},
      {"museum", "Stadtmuseum", MatchRank::Substring},
      {"museum", "Hofgarten", MatchRank::Other},
      {"Hof", "Hofgarten", MatchRank::Prefix},
      // Case, folded letters and white space do not count.
      {"cafe gluck", "Café Glück", MatchRank::Exact},
      {"  CAFÉ   glück ", "Café Glück", MatchRank::Exact},
      {"CAFE", "café glück", MatchRank::Prefix},
      {"strasse", "Leopoldstraße", MatchRank::Substring},
      // An empty folded query ranks every name exact.
      {"", "Anything", MatchRank::Exact},
      {"   ", "Anything", MatchRank::Exact},
      {"x", "", MatchRank::Other},
      // Letters outside the folding table are not folded.
      {"y", "ý", MatchRank::Other},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(match_rank(c.query, c.name), c.rank) << c.query << " / " << c.name;
  }
}

}  // namespace
}  // namespace maps::search

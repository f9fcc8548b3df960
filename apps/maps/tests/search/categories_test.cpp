#include "search/categories.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace maps::search {
namespace {

TEST(CategoryLabel, EveryCategory) {
  const struct {
    Category c;
    std::string label;
  } cases[] = {
      {Category::Landmark, "Landmark"},
      {Category::Cafe, "Café"},
      {Category::Restaurant, "Restaurant"},
      {Category::Bar, "Bar"},
      {Category::Museum, "Museum"},
      {Category::Park, "Park"},
      {Category::Transit, "Transit stop"},
      {Category::Hotel, "Hotel"},
      {Category::Shop, "Shop"},
      {Category::Hospital, "Hospital"},
      {Category::Other, "Place"},
  };
  for (const auto& c : cases) EXPECT_EQ(category_label(c.c), c.label);
}

TEST(CategoryKeywords, Table) {
  const struct {
    Category c;
    std::vector<std::string_view> words;
  } cases[] = {
      {Category::Landmark, {"sight", "landmark", "tourist"}},
      {Category::Cafe, {"coffee", "cafe", "café", "espresso", "breakfast"}},
      {Category::Restaurant, {"food", "eat", "lunch", "dinner", "restaurant"}},
      {Category::Bar, {"beer", "drink", "pub", "bar", "biergarten"}},
      {Category::Museum, {"art", "museum", "gallery", "history"}},
      {Category::Park, {"park", "green", "garden", "nature"}},
      {Category::Transit, {"station", "train", "metro", "transit", "bahnhof"}},
      {Category::Hotel, {"hotel", "stay", "sleep", "room"}},
      {Category::Shop, {"shop", "market", "store", "buy"}},
      {Category::Hospital, {}},
      {Category::Other, {}},
  };
  for (const auto& c : cases) {
    const auto words = category_keywords(c.c);
    EXPECT_EQ(std::vector<std::string_view>(words.begin(), words.end()), c.words) << category_label(c.c);
  }
}

TEST(MatchesCategoryKeywords, EitherContainsTheOther) {
  const struct {
    std::string q;
    Category c;
    bool match;
  } cases[] = {
      {"coffee", Category::Cafe, true},
      {"ca", Category::Cafe, true},                   // inside "cafe"
      {"best coffee near me", Category::Cafe, true},  // holds "coffee"
      {"smart", Category::Museum, true},              // holds "art"
      {"hauptbahnhof", Category::Transit, true},
      {"Coffee", Category::Cafe, false},  // the query must already be lower-cased
      {"coffee", Category::Bar, false},
      {"hospital", Category::Hospital, false},  // no keywords: never matches
      {"", Category::Other, false},
      {"", Category::Park, true},  // every keyword contains the empty text
  };
  for (const auto& c : cases) EXPECT_EQ(matches_category_keywords(c.q, c.c), c.match) << c.q;
}

}  // namespace
}  // namespace maps::search

#include "search/recents.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace maps::search {
namespace {

using Texts = std::vector<std::string>;

TEST(PushRecentSearch, Table) {
  const struct {
    const char* what;
    Texts before;
    std::string text;
    Texts after;
  } cases[] = {
      {"into an empty list", {}, "Marienplatz", {"Marienplatz"}},
      {"trimmed", {"a"}, "  Hofgarten \t", {"Hofgarten", "a"}},
      {"blank changes nothing", {"a", "b"}, " \xC2\xA0 ", {"a", "b"}},
      {"empty changes nothing", {"a"}, "", {"a"}},
      {"an ASCII case variant moves to the front as typed",
       {"a", "b", "c", "d", "hofgarten", "e"},
       "Hofgarten",
       {"Hofgarten", "a", "b", "c", "d", "e"}},
      {"a non-ASCII case variant is the same search",
       {"münchen", "Marienplatz"},
       "MÜNCHEN",
       {"MÜNCHEN", "Marienplatz"}},
      {"every equal entry goes", {"Café", "x", "CAFÉ", "café"}, "café", {"café", "x"}},
      {"different texts stay", {"Cafe"}, "Café", {"Café", "Cafe"}},
      {"at most eight, the oldest drop",
       {"1", "2", "3", "4", "5", "6", "7", "8"},
       "9",
       {"9", "1", "2", "3", "4", "5", "6", "7"}},
      {"a repeat within eight keeps the rest",
       {"1", "2", "3", "4", "5", "6", "7", "8"},
       "8",
       {"8", "1", "2", "3", "4", "5", "6", "7"}},
  };
  for (const auto& c : cases) {
    Texts recents = c.before;
    push_recent_search(recents, c.text);
    EXPECT_EQ(recents, c.after) << c.what;
  }
}

TEST(SameRecentSearch, TrimmedFullLowerCase) {
  EXPECT_TRUE(same_recent_search("  Museum ", "museum"));
  EXPECT_TRUE(same_recent_search("MÜNCHEN", "münchen"));
  EXPECT_TRUE(same_recent_search("ΟΔΟΣ", "οδος"));
  EXPECT_FALSE(same_recent_search("Cafe", "Café"));
  EXPECT_FALSE(same_recent_search("Marien platz", "Marienplatz"));
}

}  // namespace
}  // namespace maps::search

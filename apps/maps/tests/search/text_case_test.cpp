#include "search/text_case.hpp"

#include <gtest/gtest.h>

#include <string>

namespace maps::search {
namespace {

struct Case {
  std::string in;
  std::string out;
};

TEST(FoldSearchText, FoldingTableRows) {
  const Case cases[] = {
      {"ÀÁÂÃÄÅàáâãäå", "aaaaaaaaaaaa"}, {"Çç", "cc"}, {"ÈÉÊËèéêë", "eeeeeeee"},
      {"ÌÍÎÏìíîï", "iiiiiiii"},         {"Ññ", "nn"}, {"ÒÓÔÕÖØòóôõöø", "oooooooooooo"},
      {"ÙÚÛÜùúûü", "uuuuuuuu"},         {"ß", "ss"},  {"Straße", "strasse"},
  };
  for (const auto& c : cases) EXPECT_EQ(fold_search_text(c.in), c.out) << c.in;
}

TEST(FoldSearchText, LettersWithoutARowAreOnlyLowerCased) {
  const Case cases[] = {
      {"Æ", "æ"},
      {"Ð", "ð"},
      {"×", "×"},
      {"Ý", "ý"},
      {"Þ", "þ"},
      {"æ", "æ"},
      {"ð", "ð"},
      {"÷", "÷"},
      // From U+00FD upward nothing is folded, only lower-cased.
      {"ý", "ý"},
      {"þ", "þ"},
      {"ÿ", "ÿ"},
      {"Ā", "ā"},
      {"Ł", "ł"},
      {"Œ", "œ"},
      {"ẞ", "ß"},
      // Full mappings, one character at a time and the same in every locale.
      {"İ", "i\xCC\x87"},
      {"I", "i"},
      {"ΟΔΟΣ", "οδοσ"},
      {"ΑΘΗΝΑ", "αθηνα"},
  };
  for (const auto& c : cases) EXPECT_EQ(fold_search_text(c.in), c.out) << c.in;
}

TEST(FoldSearchText, WhiteSpaceRunsBecomeOneSpace) {
  const Case cases[] = {
      {"  Café   Glück  ", "cafe gluck"},
      {"\tMarien\n\r platz\xC2\xA0", "marien platz"},
      {"a\xE3\x80\x80\xE2\x80\x83"
       "b",
       "a b"},  // ideographic space, em space
      {"a\xC2\xA0\xC2\xA0"
       "b",
       "a b"},  // no-break spaces
      {"a\xE2\x80\x8B"
       "b",
       "a\xE2\x80\x8B"
       "b"},  // a zero-width space is not white space
      {"", ""},
      {" \t\xC2\xA0 ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(fold_search_text(c.in), c.out) << c.in;
}

TEST(FoldSearchText, InvalidUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(fold_search_text("A\xFF"
                             "B"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(fold_search_text("\xC3"), "\xEF\xBF\xBD");  // a lead byte cut off at the end
}

TEST(LowerCaseText, FullUnicodeLowerCase) {
  const Case cases[] = {
      {"Café GLÜCK", "café glück"},  // accents kept: only folding removes them
      {"  Spaced  ", "  spaced  "},  // no trimming
      {"İstanbul", "i\xCC\x87stanbul"},
      {"ΟΔΟΣ", "οδος"},  // final sigma in context
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(lower_case_text(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace maps::search

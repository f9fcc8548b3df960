#include "search/text_case.hpp"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
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

// Stored recent-search keys and the ranking depend on these bytes: each row is what both functions
// give for a text, case by case, and must never change.
TEST(TextCase, ResultsStayByteForByte) {
  struct Row {
    std::string in;
    std::string lower;
    std::string fold;
  };
  // A byte before a letter that is also a hex digit is written in octal (\237e, not \x9Fe).
  const Row rows[] = {
      {"Hello WORLD 123 !@#~", "hello world 123 !@#~", "hello world 123 !@#~"},
      {std::string("a\0B", 3), std::string("a\0b", 3), std::string("a\0b", 3)},
      // German sharp s and its capital.
      {"Stra\xC3\237e", "stra\xC3\237e", "strasse"},
      {"GRO\xE1\xBA\236E STRASSE", "gro\xC3\237e strasse", "gro\xC3\237e strasse"},
      // Turkish dotted capital I keeps its dot as a combining mark; dotless i stays.
      {"D\xC4\xB0YARBAKIR", "di\xCC\x87yarbakir", "di\xCC\x87yarbakir"},
      {"I\xC4\xB0\xC4\xB1i", "ii\xCC\x87\xC4\xB1i", "ii\xCC\x87\xC4\xB1i"},
      // Greek capital sigma: final in context for the whole text, never when folding.
      {"\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3 \xCE\x91\xCE\x98\xCE\x97\xCE\x9D\xCE\x91",
       "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x82 \xCE\xB1\xCE\xB8\xCE\xB7\xCE\xBD\xCE\xB1",
       "\xCE\xBF\xCE\xB4\xCE\xBF\xCF\x83 \xCE\xB1\xCE\xB8\xCE\xB7\xCE\xBD\xCE\xB1"},
      {"\xCE\x91\xCE\xA3.", "\xCE\xB1\xCF\x82.", "\xCE\xB1\xCF\x83."},
      {"\xCE\xA3\xCE\x91", "\xCF\x83\xCE\xB1", "\xCF\x83\xCE\xB1"},
      {"\xCE\xA3", "\xCF\x83", "\xCF\x83"},
      // Armenian capitals; the small ligature ech-yiwn has no lower form of its own.
      {"\xD4\xB5\xD5\x90\xD4\xB5\xD5\x8E\xD4\xB1\xD5\x86", "\xD5\xA5\xD6\x80\xD5\xA5\xD5\xBE\xD5\xA1\xD5\xB6",
       "\xD5\xA5\xD6\x80\xD5\xA5\xD5\xBE\xD5\xA1\xD5\xB6"},
      {"\xD6\x87", "\xD6\x87", "\xD6\x87"},
      // Combining marks stay apart from their letters: nothing is composed, nothing folded.
      {"E\xCC\x81", "e\xCC\x81", "e\xCC\x81"},
      {"A\xCC\212B", "a\xCC\212b", "a\xCC\212b"},
      {"\xCC\201A", "\xCC\201a", "\xCC\201a"},
      // Title-case digraphs, Cherokee, and letters past the 16-bit range.
      {"\xC7\x84 \xC7\x85", "\xC7\x86 \xC7\x86", "\xC7\x86 \xC7\x86"},
      {"\xE1\x8E\xA0", "\xEA\xAD\xB0", "\xEA\xAD\xB0"},
      {"\xF0\x90\x90\x80\xF0\x90\x90\x81", "\xF0\x90\x90\xA8\xF0\x90\x90\xA9", "\xF0\x90\x90\xA8\xF0\x90\x90\xA9"},
      {"\xC3\x86 \xC3\x90 \xC3\x97 \xC3\x9D \xC3\x9E \xC3\xBD \xC3\xBF \xC5\xB8",
       "\xC3\xA6 \xC3\xB0 \xC3\x97 \xC3\xBD \xC3\xBE \xC3\xBD \xC3\xBF \xC3\xBF",
       "\xC3\xA6 \xC3\xB0 \xC3\x97 \xC3\xBD \xC3\xBE \xC3\xBD \xC3\xBF \xC3\xBF"},
      // Invalid UTF-8: one replacement character for each maximal part of a sequence.
      {"A\377B", "a\xEF\xBF\275b", "a\xEF\xBF\275b"},
      {"\x80", "\xEF\xBF\xBD", "\xEF\xBF\xBD"},
      {"\xE2\x82", "\xEF\xBF\xBD", "\xEF\xBF\xBD"},
      {"\xF0\x9F\x98", "\xEF\xBF\xBD", "\xEF\xBF\xBD"},
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      // White space: only folding trims and collapses it; U+180E and U+FEFF are not white space.
      {"  Marien\xC2\xA0\xC2\xA0platz\xE3\x80\x80", "  marien\xC2\xA0\xC2\xA0platz\xE3\x80\x80", "marien platz"},
      {"a\xC2\205b\xE1\x9A\200c\xE2\x80\250d\xE2\x81\237e", "a\xC2\205b\xE1\x9A\200c\xE2\x80\250d\xE2\x81\237e",
       "a b c d e"},
      {"a\xE1\xA0\216b\xEF\xBB\277c", "a\xE1\xA0\216b\xEF\xBB\277c", "a\xE1\xA0\216b\xEF\xBB\277c"},
      {"", "", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(lower_case_text(r.in), r.lower) << r.in;
    EXPECT_EQ(fold_search_text(r.in), r.fold) << r.in;
  }
}

// Long texts: the lower case grows (dotted I takes two characters), and a final sigma is seen at
// the very end of the whole text.
TEST(TextCase, LongTexts) {
  constexpr int kCount = 40000;
  std::string dotted, dotted_lower, greek, greek_lower, greek_fold;
  for (int i = 0; i < kCount; ++i) {
    dotted += "\xC4\xB0";
    dotted_lower += "i\xCC\x87";
    greek += "\xC3\x84\xCE\xA3";  // Ä Σ
    greek_lower += i + 1 < kCount ? "\xC3\xA4\xCF\x83" : "\xC3\xA4\xCF\x82";
    greek_fold += "a\xCF\x83";
  }
  EXPECT_EQ(lower_case_text(dotted), dotted_lower);
  EXPECT_EQ(fold_search_text(dotted), dotted_lower);
  EXPECT_EQ(lower_case_text(greek), greek_lower);
  EXPECT_EQ(fold_search_text(greek), greek_fold);
}

bool icu_is_loaded() {
  void* handle = ::dlopen(kIcuLibraryFile, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) ::dlclose(handle);  // only the reference NOLOAD took
  return handle != nullptr;
}

// In a process of its own (gtest runs the body in a fresh copy of this program), since any earlier
// test may have opened ICU already.
TEST(TextCaseDeathTest, IcuIsOpenedByTheFirstTextThatNeedsIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        if (icu_is_loaded()) std::exit(1);
        // ASCII, the folding table's letters and invalid bytes need no ICU.
        const bool same = lower_case_text("  Museum ") == "  museum " &&
                          fold_search_text(" Caf\xC3\xA9  GL\xC3\234CK\xFF") == "cafe gluck\xEF\xBF\xBD";
        if (!same || icu_is_loaded()) std::exit(2);
        if (lower_case_text("\xC3\x89") != "\xC3\xA9" || !icu_is_loaded()) std::exit(3);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// Without ICU nothing fails: ASCII letters are lowered, the folding table still applies, every other
// character stays as it is, and invalid bytes are replaced as always.
TEST(TextCase, WithoutIcuOnlyAsciiIsLowered) {
  IcuLoader missing("libicuuc-not-installed.so.72");
  struct Row {
    std::string in;
    std::string lower;
    std::string fold;
  };
  const Row rows[] = {
      {"Hello WORLD", "hello world", "hello world"},
      {"M\xC3\x9CNCHEN Stra\xC3\237e", "m\xC3\x9Cnchen stra\xC3\237e", "munchen strasse"},
      {"\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3 X", "\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3 x",
       "\xCE\x9F\xCE\x94\xCE\x9F\xCE\xA3 x"},
      {"D\xC4\xB0YARBAKIR", "d\xC4\xB0yarbakir", "d\xC4\xB0yarbakir"},
      // Inner white space past ASCII is kept; the ends are trimmed as always.
      {"\xC2\240A\xE3\x80\200B ", "\xC2\240a\xE3\x80\200b ", "a\xE3\x80\200b"},
      {"A\377B\xED\xA0\x80", "a\xEF\xBF\275b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
       "a\xEF\xBF\275b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"", "", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(lower_case_text(r.in, missing), r.lower) << r.in;
    EXPECT_EQ(fold_search_text(r.in, missing), r.fold) << r.in;
  }
}

}  // namespace
}  // namespace maps::search

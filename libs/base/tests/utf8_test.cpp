#include "base/utf8.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Utf8, BoundariesStepOverWholeCharacters) {
  const std::string s = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a é € 😀 z
  EXPECT_EQ(base::utf8_next_boundary(s, 0), 1u);
  EXPECT_EQ(base::utf8_next_boundary(s, 1), 3u);
  EXPECT_EQ(base::utf8_next_boundary(s, 3), 6u);
  EXPECT_EQ(base::utf8_next_boundary(s, 6), 10u);
  EXPECT_EQ(base::utf8_next_boundary(s, 10), 11u);
  EXPECT_EQ(base::utf8_next_boundary(s, 11), 11u);
  EXPECT_EQ(base::utf8_next_boundary(s, 99), 11u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 11), 10u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 10), 6u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 6), 3u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 3), 1u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 1), 0u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 0), 0u);
  EXPECT_EQ(base::utf8_prev_boundary(s, 99), 10u);
  EXPECT_TRUE(base::is_utf8_boundary(s, 3));
  EXPECT_FALSE(base::is_utf8_boundary(s, 2));
  EXPECT_TRUE(base::is_utf8_boundary(s, 11));
  // A stray continuation byte at the start stays a character of its own.
  EXPECT_EQ(base::utf8_next_boundary("\x80\x80x", 0), 2u);
}

TEST(Utf8, WellFormedSequences) {
  struct Case {
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"caf\xC3\xA9", true},
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"\xC3", false},              // cut short
      {"\xC0\xAF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\x80", false},              // stray continuation
      {"a\xFF", false},
  };
  for (const Case& c : cases) EXPECT_EQ(base::is_valid_utf8(c.text), c.valid) << c.text;
  EXPECT_EQ(base::utf8_sequence_length("\xE2\x82\xAC", 0), 3u);
  EXPECT_EQ(base::utf8_sequence_length("\xE2\x82", 0), 0u);
  EXPECT_EQ(base::utf8_sequence_length("x", 1), 0u);
}

TEST(Utf8, DecodeReadsOneCodePoint) {
  struct Case {
    const char* text;
    std::size_t at;
    char32_t value;
    std::size_t length;
  };
  const Case cases[] = {
      {"a", 0, U'a', 1},
      {"caf\xC3\xA9", 3, U'\u00E9', 2},
      {"\xE2\x82\xAC", 0, U'\u20AC', 3},
      {"\xF0\x9F\x98\x80", 0, U'\U0001F600', 4},
      {"\xF4\x8F\xBF\xBF", 0, U'\U0010FFFF', 4},
      {"\xC3\xA9", 1, 0xFFFD, 0},      // inside a character
      {"\xE2\x82", 0, 0xFFFD, 0},      // cut short
      {"\xC0\xAF", 0, 0xFFFD, 0},      // overlong
      {"\xED\xA0\x80", 0, 0xFFFD, 0},  // surrogate
      {"x", 1, 0xFFFD, 0},             // past the end
  };
  for (const Case& c : cases) {
    const base::Utf8CodePoint d = base::utf8_decode(c.text, c.at);
    EXPECT_EQ(d.value, c.value) << c.text << " at " << c.at;
    EXPECT_EQ(d.length, c.length) << c.text << " at " << c.at;
  }
}

TEST(Utf8, AppendWritesEachLengthAndRefusesNonCharacters) {
  struct Case {
    char32_t cp;
    std::string bytes;
  };
  const Case cases[] = {
      {0x00, std::string(1, '\0')},
      {0x7F, "\x7F"},
      {0x80, "\xC2\x80"},
      {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"},
      {0xFFFF, "\xEF\xBF\xBF"},
      {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"},
      {0xD800, "\xEF\xBF\xBD"},  // surrogates are no characters: U+FFFD
      {0xDFFF, "\xEF\xBF\xBD"},
      {0x110000, "\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    std::string out = "x";
    base::append_utf8(out, c.cp);
    EXPECT_EQ(out, "x" + c.bytes) << std::hex << static_cast<unsigned>(c.cp);
    // What is appended reads back as the same character.
    const base::Utf8CodePoint back = base::utf8_decode(out, 1);
    EXPECT_EQ(back.length, c.bytes.size());
  }
}

}  // namespace

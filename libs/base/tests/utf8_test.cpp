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

}  // namespace

#include "base/text.hpp"

#include <gtest/gtest.h>

namespace {

TEST(TrimWhiteSpace, UnicodeWhiteSpaceAtBothEnds) {
  EXPECT_EQ(base::trim_white_space("  a b \t"), "a b");
  EXPECT_EQ(base::trim_white_space("\xC2\xA0M\xC3\xBCnchen\xE3\x80\x80"), "M\xC3\xBCnchen");
  EXPECT_EQ(base::trim_white_space(" \n "), "");
  EXPECT_EQ(base::trim_white_space("\xE2\x80\x83Transit\xE2\x80\xA8"), "Transit");  // em space, line separator
  EXPECT_EQ(base::trim_white_space("\xC2 x"), "\xC2 x");                            // a broken sequence is not space
  EXPECT_EQ(base::trim_white_space(""), "");
}

TEST(AsciiLower, OnlyTheLettersAToZChange) {
  EXPECT_EQ(base::ascii_lower("Transit ABC-xyz 09"), "transit abc-xyz 09");
  // Letters beyond ASCII, and bytes of their encoding, stay as they are.
  EXPECT_EQ(base::ascii_lower("\xC3\x84RGER M\xC3\xBCNCHEN"), "\xC3\x84rger m\xC3\xBCnchen");
  EXPECT_EQ(base::ascii_lower(""), "");
}

}  // namespace

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

}  // namespace

#include "base/result.hpp"

#include <gtest/gtest.h>

namespace {

base::Result<int> parse_digit(char c) {
  if (c < '0' || c > '9') return base::err(std::string("not a digit: ") + c);
  return c - '0';
}

TEST(Result, CarriesValueOrError) {
  auto ok = parse_digit('7');
  ASSERT_TRUE(ok.is_ok());
  EXPECT_EQ(*ok, 7);
  auto bad = parse_digit('x');
  ASSERT_TRUE(bad.is_err());
  EXPECT_EQ(bad.error(), "not a digit: x");
  EXPECT_EQ(bad.value_or(-1), -1);
}

TEST(Result, StringValuesAndErrorsStayApart) {
  base::Result<std::string> value = std::string("text");
  base::Result<std::string> error = base::err("text");
  EXPECT_TRUE(value.is_ok());
  EXPECT_TRUE(error.is_err());
  base::Status done;
  EXPECT_TRUE(done.is_ok());
  EXPECT_EQ(base::Status(base::err("no")).error(), "no");
}

TEST(Result, ErrorKeepsItsKindWhenPassedOn) {
  const auto fetch = []() -> base::Result<int> {
    return base::err(base::ErrorKind::ServiceError, "HTTP 503 Service Unavailable", 503);
  };
  const auto caller = [&]() -> base::Result<std::string> {
    auto r = fetch();
    if (!r) return r.failure();
    return std::string("unused");
  };
  const auto r = caller();
  ASSERT_TRUE(r.is_err());
  EXPECT_EQ(r.error_kind(), base::ErrorKind::ServiceError);
  EXPECT_EQ(r.failure().http_status, 503);
  EXPECT_EQ(r.error(), "HTTP 503 Service Unavailable");
  // A plain text error is of no particular kind, and errors of different kinds differ.
  EXPECT_EQ(base::Result<int>(base::err("x")).error_kind(), base::ErrorKind::Other);
  EXPECT_NE(base::err("x"), base::err(base::ErrorKind::TimedOut, "x"));
}

}  // namespace

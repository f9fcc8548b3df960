#include "base/scoped_env.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string env_or(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v ? v : fallback;
}

TEST(ScopedEnv, PutsBackWhatWasThere) {
  ::unsetenv("BASE_SCOPED_ENV_A");
  ::setenv("BASE_SCOPED_ENV_B", "before", 1);
  {
    base::ScopedEnv env("BASE_SCOPED_ENV_A", "one");
    env.set("BASE_SCOPED_ENV_B", std::nullopt);
    env.set("BASE_SCOPED_ENV_A", "two");  // set twice: the first value saved wins on the way out
    EXPECT_EQ(env_or("BASE_SCOPED_ENV_A", "unset"), "two");
    EXPECT_EQ(env_or("BASE_SCOPED_ENV_B", "unset"), "unset");
  }
  EXPECT_EQ(env_or("BASE_SCOPED_ENV_A", "unset"), "unset");
  EXPECT_EQ(env_or("BASE_SCOPED_ENV_B", "unset"), "before");
  ::unsetenv("BASE_SCOPED_ENV_B");
}

}  // namespace

#include "format/clock_text.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace maps {
namespace {

constexpr std::int64_t kHourMs = 3'600'000;
constexpr std::int64_t kMinuteMs = 60'000;
// 2026-12-10T00:00:00Z
constexpr std::int64_t kMidnightUtcMs = 1'796'860'800'000;

TEST(ClockText, WallClockAtItsOwnOffset) {
  const struct {
    std::int64_t unix_ms;
    std::int32_t offset_s;
    std::string out;
  } cases[] = {
      {kMidnightUtcMs + 9 * kHourMs + 5 * kMinuteMs, 0, "09:05"},  // leading zeros kept
      {kMidnightUtcMs + 8 * kHourMs + 5 * kMinuteMs, 3600, "09:05"},
      {kMidnightUtcMs + 23 * kHourMs + 30 * kMinuteMs, 3600, "00:30"},  // the next local day
      {kMidnightUtcMs + 30 * kMinuteMs, -3600, "23:30"},                // the previous local day
      {kMidnightUtcMs + 59 * kMinuteMs + 59'999, 0, "00:59"},           // seconds are dropped, not rounded
      {kMidnightUtcMs, 5 * 3600 + 45 * 60, "05:45"},
      {0, 0, "00:00"},
      {-1, 0, "23:59"},  // before the epoch: floor, not truncation
      {-kHourMs, 0, "23:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(clock_text(c.unix_ms, c.offset_s), c.out) << c.unix_ms << " " << c.offset_s;
}

TEST(ClockText, ExtremeInputsStayTwoDigitTimes) {
  for (std::int64_t ms : {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()}) {
    for (std::int32_t off : {std::numeric_limits<std::int32_t>::min(), 0, std::numeric_limits<std::int32_t>::max()}) {
      const std::string t = clock_text(ms, off);
      ASSERT_EQ(t.size(), 5u) << t;
      EXPECT_EQ(t[2], ':');
      EXPECT_LE(t, "23:59");
    }
  }
}

}  // namespace
}  // namespace maps

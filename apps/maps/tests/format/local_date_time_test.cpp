#include "format/local_date_time.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace maps {
namespace {

// Sets TZ for one test and restores it.
class ScopedTz {
 public:
  explicit ScopedTz(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTz() {
    if (old_.empty())
      unsetenv("TZ");
    else
      setenv("TZ", old_.c_str(), 1);
    tzset();
  }

 private:
  std::string old_;
};

std::int64_t utc_ms(int y, int mon, int d, int h, int mi) {
  std::tm tm{};
  tm.tm_year = y - 1900;
  tm.tm_mon = mon - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  return static_cast<std::int64_t>(timegm(&tm)) * 1000;
}

TEST(DemoClock, NineOClockOfTodayWhateverTheTime) {
  ScopedTz tz("CET-1CEST,M3.5.0,M10.5.0/3");
  const auto t = demo_clock_at(utc_ms(2026, 12, 10, 22, 47));  // 23:47 local
  EXPECT_EQ(t.format_hm(), "09:00");
  EXPECT_EQ(t.unix_ms, utc_ms(2026, 12, 10, 8, 0));
  EXPECT_EQ(t.to_rfc3339(), "2026-12-10T09:00:00+01:00");
  EXPECT_EQ(t.plus_minutes(75).format_hm(), "10:15");
}

TEST(DemoClock, GapAndFold) {
  // Daylight time starts at 09:00 on the last Sunday of March: 09:00 never happens that day.
  {
    ScopedTz tz("XST-1XDT,M3.5.0/9,M10.5.0/10");
    const std::int64_t now = utc_ms(2026, 3, 29, 12, 34);  // Sunday 29 March 2026
    EXPECT_EQ(demo_clock_at(now).unix_ms, now);
  }
  // Daylight time ends at 10:00 on the last Sunday of October: 09:00-10:00 happens twice.
  {
    ScopedTz tz("XST-1XDT,M3.5.0/9,M10.5.0/10");
    const auto t = demo_clock_at(utc_ms(2026, 10, 25, 15, 0));  // Sunday 25 October 2026
    EXPECT_EQ(t.format_hm(), "09:00");
    EXPECT_EQ(t.unix_ms, utc_ms(2026, 10, 25, 7, 0));  // the earlier, daylight-time one (+02:00)
    EXPECT_EQ(t.utc_offset_s, 7200);
  }
}

}  // namespace
}  // namespace maps

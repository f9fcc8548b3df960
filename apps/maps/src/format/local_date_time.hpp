#pragma once
// Local wall-clock time for journeys and the demonstration clock. libstdc++ 12 has no time-zone
// database, so the C library's localtime_r/mktime resolve the local offset.

#include <cstdint>
#include <ctime>
#include <string>

namespace maps {

struct LocalDateTime {
  std::int64_t unix_ms = 0;       // the instant
  std::int32_t utc_offset_s = 0;  // the local offset in force at that instant
  bool operator==(const LocalDateTime&) const = default;

  std::tm fields() const;  // local broken-down time
  int hour() const { return fields().tm_hour; }
  int minute() const { return fields().tm_min; }
  // The instant `minutes` later (or earlier), with the offset in force then.
  LocalDateTime plus_minutes(std::int64_t minutes) const;
  std::string format_hm() const;   // "%H:%M"
  std::string to_rfc3339() const;  // 2026-12-10T09:00:00+01:00
};

LocalDateTime local_from_unix_ms(std::int64_t unix_ms);
LocalDateTime local_now();

// Today's local date at 09:00:00.000 for the given instant; when 09:00 does not exist that day,
// the instant itself; when it exists twice, the earlier one.
LocalDateTime demo_clock_at(std::int64_t now_unix_ms);
LocalDateTime demo_clock_now();

}  // namespace maps

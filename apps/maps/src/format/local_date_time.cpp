#include "format/local_date_time.hpp"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include <fmt/format.h>

namespace maps {
namespace {

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

std::tm local_tm(std::int64_t unix_ms) {
  const std::time_t t = static_cast<std::time_t>(floor_div(unix_ms, 1000));
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

}  // namespace

LocalDateTime local_from_unix_ms(std::int64_t unix_ms) {
  const std::tm tm = local_tm(unix_ms);
  return {unix_ms, static_cast<std::int32_t>(tm.tm_gmtoff)};
}

LocalDateTime local_now() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return local_from_unix_ms(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::tm LocalDateTime::fields() const { return local_tm(unix_ms); }

LocalDateTime LocalDateTime::plus_minutes(std::int64_t minutes) const {
  // Clamp so the arithmetic cannot overflow whatever a caller passes.
  minutes = std::clamp<std::int64_t>(minutes, -1'000'000'000, 1'000'000'000);
  return local_from_unix_ms(unix_ms + minutes * 60'000);
}

std::string LocalDateTime::format_hm() const {
  const std::tm tm = fields();
  return fmt::format("{:02}:{:02}", tm.tm_hour, tm.tm_min);
}

std::string LocalDateTime::to_rfc3339() const {
  const std::tm tm = fields();
  const int off = utc_offset_s;
  const char sign = off < 0 ? '-' : '+';
  const int a = off < 0 ? -off : off;
  return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}{}{:02}:{:02}", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour, tm.tm_min, tm.tm_sec, sign, a / 3600, (a % 3600) / 60);
}

LocalDateTime demo_clock_at(std::int64_t now_unix_ms) {
  const std::tm today = local_tm(now_unix_ms);
  std::vector<std::time_t> candidates;
  // Resolve 09:00 once as standard time and once as daylight time; keep the readings that really
  // show 09:00 on this date. None: a gap; two different: a fold.
  for (int dst : {0, 1}) {
    std::tm want = today;
    want.tm_hour = 9;
    want.tm_min = 0;
    want.tm_sec = 0;
    want.tm_isdst = dst;
    const std::time_t t = mktime(&want);
    if (t == static_cast<std::time_t>(-1)) continue;
    std::tm back{};
    localtime_r(&t, &back);
    if (back.tm_year == today.tm_year && back.tm_yday == today.tm_yday && back.tm_hour == 9 && back.tm_min == 0 &&
        back.tm_sec == 0) {
      candidates.push_back(t);
    }
  }
  if (candidates.empty()) return local_from_unix_ms(now_unix_ms);
  const std::time_t earliest = *std::min_element(candidates.begin(), candidates.end());
  return local_from_unix_ms(static_cast<std::int64_t>(earliest) * 1000);
}

LocalDateTime demo_clock_now() { return demo_clock_at(local_now().unix_ms); }

}  // namespace maps

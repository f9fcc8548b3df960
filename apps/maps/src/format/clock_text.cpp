#include "format/clock_text.hpp"

#include <fmt/format.h>

namespace maps {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

std::string clock_text(std::int64_t unix_ms, std::int32_t utc_offset_s) {
  // unix_ms / 1000 is far from the 64-bit limits, so adding any 32-bit offset cannot overflow.
  const std::int64_t local_s = floor_div(unix_ms, 1000) + utc_offset_s;
  const std::int64_t of_day = local_s - floor_div(local_s, kSecondsPerDay) * kSecondsPerDay;
  return fmt::format("{:02}:{:02}", of_day / 3600, of_day / 60 % 60);
}

}  // namespace maps

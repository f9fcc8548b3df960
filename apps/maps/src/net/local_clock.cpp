#include "net/local_clock.hpp"

#include <ctime>

#include <fmt/format.h>

#include "net/transit.hpp"

namespace maps {
namespace {

// Reads exactly `n` ASCII digits at `pos` and advances past them.
std::optional<int> digits(std::string_view text, std::size_t& pos, std::size_t n) {
  if (text.size() < pos + n) return std::nullopt;
  int v = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[pos + i];
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  pos += n;
  return v;
}

bool take(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool leap_year(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int days_in_month(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && leap_year(y) ? 29 : kDays[m - 1];
}

// Days from 1970-01-01 to the civil date (proleptic Gregorian calendar).
std::int64_t days_from_civil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::optional<std::int64_t> rfc3339_instant_s(std::string_view text) {
  std::size_t pos = 0;
  const auto year = digits(text, pos, 4);
  if (!year || !take(text, pos, '-')) return std::nullopt;
  const auto month = digits(text, pos, 2);
  if (!month || *month < 1 || *month > 12 || !take(text, pos, '-')) return std::nullopt;
  const auto day = digits(text, pos, 2);
  if (!day || *day < 1 || *day > days_in_month(*year, *month) || !take(text, pos, 'T')) return std::nullopt;
  const auto hour = digits(text, pos, 2);
  if (!hour || *hour > 23 || !take(text, pos, ':')) return std::nullopt;
  const auto minute = digits(text, pos, 2);
  if (!minute || *minute > 59) return std::nullopt;
  int second = 0;
  if (take(text, pos, ':')) {
    const auto s = digits(text, pos, 2);
    if (!s || *s > 60) return std::nullopt;
    second = *s == 60 ? 59 : *s;  // a leap second shows as the minute it ends
    if (take(text, pos, '.')) {
      const std::size_t first = pos;
      while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
      if (pos == first) return std::nullopt;
    }
  }
  int offset_s = 0;
  if (take(text, pos, 'Z')) {
    offset_s = 0;
  } else if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    const int sign = text[pos] == '-' ? -1 : 1;
    ++pos;
    const auto oh = digits(text, pos, 2);
    if (!oh || *oh > 23) return std::nullopt;
    take(text, pos, ':');
    const auto om = digits(text, pos, 2);
    if (!om || *om > 59) return std::nullopt;
    offset_s = sign * (*oh * 3600 + *om * 60);
  } else {
    return std::nullopt;  // no offset: the instant is unknown
  }
  if (pos != text.size()) return std::nullopt;
  const std::int64_t local_s = days_from_civil(*year, *month, *day) * 86400 + *hour * 3600 + *minute * 60 + second;
  return local_s - offset_s;
}

std::string local_clock_text(std::string_view text) {
  const auto instant = rfc3339_instant_s(text);
  if (!instant) return iso_clock_text(text);
  const std::time_t t = static_cast<std::time_t>(*instant);
  std::tm local{};
  if (!localtime_r(&t, &local)) return iso_clock_text(text);
  return fmt::format("{:02}:{:02}", local.tm_hour, local.tm_min);
}

}  // namespace maps

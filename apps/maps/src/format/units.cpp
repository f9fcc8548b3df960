#include "format/units.hpp"

#include <fmt/format.h>

#include <cmath>
#include <limits>

#include "format/rounding.hpp"

namespace maps {
namespace {

std::int64_t saturating_times_ten(std::int64_t v) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  if (v > kMax / 10) return kMax;
  if (v < kMin / 10) return kMin;
  return v * 10;
}

}  // namespace

std::string format_duration(double seconds) {
  if (!std::isfinite(seconds)) return std::string(kUnknownQuantityText);
  const std::int64_t minutes = round_half_away_i64(seconds / 60.0);
  if (minutes < 60) return fmt::format("{} min", minutes);
  const std::int64_t hours = minutes / 60;
  const std::int64_t rest = minutes % 60;
  if (rest == 0) return fmt::format("{} h", hours);
  return fmt::format("{} h {} min", hours, rest);
}

std::string format_distance(double metres) {
  if (!std::isfinite(metres)) return std::string(kUnknownQuantityText);
  if (metres < 950.0) return fmt::format("{} m", saturating_times_ten(round_half_away_i64(metres / 10.0)));
  // fmt prints the correctly rounded decimal of the double, exact halves to the even digit.
  return fmt::format("{:.1f} km", metres / 1000.0);
}

std::string format_bytes(std::uint64_t bytes) {
  const auto value = static_cast<double>(bytes);
  if (bytes <= 999) return fmt::format("{} B", bytes);
  if (bytes <= 999'999) return fmt::format("{:.1f} KB", value / 1e3);
  if (bytes <= 999'999'999) return fmt::format("{:.1f} MB", value / 1e6);
  return fmt::format("{:.1f} GB", value / 1e9);
}

}  // namespace maps

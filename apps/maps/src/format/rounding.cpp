#include "format/rounding.hpp"

#include <cmath>
#include <limits>

namespace maps {

std::int64_t round_half_away_i64(double value) {
  if (std::isnan(value)) return 0;
  const double r = std::round(value);
  // 2^63 is exactly representable; every double below it and at or above -2^63 fits.
  constexpr double kLimit = 9223372036854775808.0;
  if (r >= kLimit) return std::numeric_limits<std::int64_t>::max();
  if (r < -kLimit) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(r);
}

}  // namespace maps

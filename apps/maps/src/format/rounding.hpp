#pragma once
// Rounding of measured values to whole numbers for display.

#include <cstdint>

namespace maps {

// To the nearest integer, halves away from zero, as a signed 64-bit integer: values beyond its
// range saturate and not-a-number gives 0, so no input reaches an undefined conversion.
std::int64_t round_half_away_i64(double value);

}  // namespace maps

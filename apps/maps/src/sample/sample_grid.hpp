#pragma once
// The grid every sample position sits on: units of 0.0024 degrees north and 0.0036 degrees east
// around the old town centre.

#include "model/records.hpp"

namespace maps {

inline constexpr double kSampleGridLat = 48.1371;
inline constexpr double kSampleGridLon = 11.5754;
inline constexpr double kSampleGridLatStep = 0.0024;
inline constexpr double kSampleGridLonStep = 0.0036;

inline LatLon sample_grid_point(double gx, double gy) {
  return {kSampleGridLat + gy * kSampleGridLatStep, kSampleGridLon + gx * kSampleGridLonStep};
}

}  // namespace maps

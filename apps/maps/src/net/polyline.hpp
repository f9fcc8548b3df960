#pragma once
// Route-line helpers: Douglas-Peucker simplification and the encoded-polyline decoder.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "model/records.hpp"

namespace maps {

inline constexpr double kSimplifyToleranceM = 3.0;

// Keeps the points that deviate more than `tolerance_m` from the simplified line (explicit stack,
// no recursion). Fewer than three points, or a tolerance that is not positive, come back unchanged.
std::vector<LatLon> simplify_polyline(const std::vector<LatLon>& points, double tolerance_m);

// Encoded Polyline Algorithm Format at 10^precision; malformed input ends the list early.
std::vector<LatLon> decode_polyline(std::string_view points, std::uint32_t precision);
// One zig-zag value starting at `pos` (advanced past it); nothing when it is incomplete or too long.
std::optional<std::int64_t> decode_polyline_delta(std::string_view bytes, std::size_t& pos);

}  // namespace maps

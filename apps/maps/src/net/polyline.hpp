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

// Point-to-segment distances a line may cost per point. Real lines need a few dozen; a hostile
// zigzag would need half its length per point (hours for a large reply), so past this budget the
// stretches not yet resolved keep all their points, which only adds detail.
inline constexpr std::size_t kSimplifyWorkPerPoint = 256;

// Keeps the points that deviate more than `tolerance_m` from the simplified line (explicit stack,
// no recursion). Fewer than three points, or a tolerance that is not positive, come back unchanged.
std::vector<LatLon> simplify_polyline(const std::vector<LatLon>& points, double tolerance_m);
std::vector<LatLon> simplify_polyline(const std::vector<LatLon>& points, double tolerance_m,
                                      std::size_t work_per_point);

// Every point has a latitude in [-90, 90] and a longitude in [-180, 180].
bool all_on_globe(const std::vector<LatLon>& points);

// Encoded Polyline Algorithm Format at 10^precision; malformed input ends the list early.
std::vector<LatLon> decode_polyline(std::string_view points, std::uint32_t precision);
// One zig-zag value starting at `pos` (advanced past it); nothing when it is incomplete or too long.
std::optional<std::int64_t> decode_polyline_delta(std::string_view bytes, std::size_t& pos);

}  // namespace maps

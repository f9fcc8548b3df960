#pragma once
// Durations, distances and byte sizes as the panels show them.

#include <cstdint>
#include <string>
#include <string_view>

namespace maps {

// Shown in place of a duration or distance that is not a finite number.
inline constexpr std::string_view kUnknownQuantityText = "—";

// "{} min" below an hour of whole minutes, else "{} h" or "{} h {} min".
std::string format_duration(double seconds);
// "{} m" in steps of ten below 950 m, else kilometres with one decimal.
std::string format_distance(double metres);
// Powers of 1000: "{} B" up to 999, then one decimal of KB, MB or GB.
std::string format_bytes(std::uint64_t bytes);

}  // namespace maps

#include "format/labels.hpp"

#include <fmt/format.h>

#include <array>
#include <cstddef>

namespace maps {
namespace {

// Rows in the order of the enumerations; an out-of-range value (from a cast) reads the first row.
constexpr std::array<std::string_view, 4> kTravelModeLabels = {"Drive", "Transit", "Cycle", "Walk"};
constexpr std::array<std::string_view, 6> kTransitModeLabels = {"Walk", "Bus", "Tram", "Metro", "Train", "Ferry"};
constexpr std::array<std::string_view, 12> kManeuverGlyphs = {
    "◉",  // Depart
    "↑",  // Continue
    "↖",  // SlightLeft
    "←",  // Left
    "↩",  // SharpLeft
    "↗",  // SlightRight
    "→",  // Right
    "↪",  // SharpRight
    "⇩",  // Uturn
    "↻",  // Roundabout
    "↑",  // Merge
    "⚑",  // Arrive
};

template <std::size_t N, class E>
std::string_view row(const std::array<std::string_view, N>& table, E value) {
  const auto i = static_cast<std::size_t>(value);
  return i < N ? table[i] : table[0];
}

}  // namespace

std::string_view travel_mode_label(TravelMode mode) { return row(kTravelModeLabels, mode); }
std::string_view transit_mode_label(TransitMode mode) { return row(kTransitModeLabels, mode); }
std::string_view maneuver_glyph(Maneuver maneuver) { return row(kManeuverGlyphs, maneuver); }

std::string counted(std::uint64_t n, std::string_view one, std::string_view many) {
  return fmt::format("{} {}", n, n == 1 ? one : many);
}

}  // namespace maps

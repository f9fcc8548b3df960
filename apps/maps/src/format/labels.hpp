#pragma once
// The names of travel and public-transport modes, the glyphs of turn manoeuvres, and counts.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/enums.hpp"

namespace maps {

std::string_view travel_mode_label(TravelMode mode);
std::string_view transit_mode_label(TransitMode mode);
// One character (three bytes of UTF-8) drawn beside a turn instruction.
std::string_view maneuver_glyph(Maneuver maneuver);
// "1 stop", "3 stops", "0 stops": the count and the noun, singular for one.
std::string counted(std::uint64_t n, std::string_view one, std::string_view many);

}  // namespace maps

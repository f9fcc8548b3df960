#pragma once
// The names of travel and public-transport modes and the glyphs of turn manoeuvres.

#include <string_view>

#include "model/enums.hpp"

namespace maps {

std::string_view travel_mode_label(TravelMode mode);
std::string_view transit_mode_label(TransitMode mode);
// One character (three bytes of UTF-8) drawn beside a turn instruction.
std::string_view maneuver_glyph(Maneuver maneuver);

}  // namespace maps

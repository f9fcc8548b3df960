#pragma once
// The map controls of the column at the right edge.

#include <cstdint>

namespace maps {

// The controls in the order of the column; None is no control.
enum class MapControl : std::uint8_t { ZoomIn, ZoomOut, Locate, Traffic, None };

}  // namespace maps

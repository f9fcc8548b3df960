#pragma once
// Frame-wide facts the painters of one draw share.

#include "zarn_ui/geometry.hpp"

namespace maps {

// Where markers, pins and their labels may be drawn: the bounds, except that in the narrow
// layout an open side panel keeps them to its right (10 px past its edge).
zarn_ui::Rect marker_area(const zarn_ui::Rect& bounds, bool panel_expanded);

}  // namespace maps

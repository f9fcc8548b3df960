#pragma once
// Where the pointer is and what a press on the map has begun, as the window's input sees it.

#include "zarn_ui/geometry.hpp"

namespace maps {

struct PointerState {
  zarn_ui::Point last;
  bool down = false;
  // The press began on the map (not on a control): moving drags the map.
  bool map_press = false;
  zarn_ui::Point drag_anchor;
};

}  // namespace maps

#pragma once
// The column of map controls at the right edge: zoom in, zoom out, my location, traffic.

#include <array>
#include <cstdint>
#include <optional>

#include "messages/map_control.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

// The four buttons of the column at the right edge of `r`, top to bottom.
std::array<zarn_ui::Rect, 4> control_button_rects(const zarn_ui::Rect& r);
// The button of a control; None reads the last one.
zarn_ui::Rect control_button_rect(const zarn_ui::Rect& r, MapControl control);
// The control under the point, or None.
MapControl hit_test_controls(const zarn_ui::Rect& r, double x, double y);

// The column is shown except in the narrow layout while the side panel is open over the map: the
// panel then spans nearly the whole width, and the column would cover its right edge while the
// panel's scrim takes every press there.
bool map_controls_shown(const zarn_ui::Rect& bounds, bool panel_expanded);

// The "More" button in the bottom-right corner of `bounds`, which opens the overflow menu.
zarn_ui::Rect more_button_rect(const zarn_ui::Rect& bounds);
// Not where it would lie over the narrow layout's open side panel (up to 455 px wide windows);
// the menu is there again once the panel is closed.
bool more_button_shown(const zarn_ui::Rect& bounds, bool panel_expanded);

}  // namespace maps

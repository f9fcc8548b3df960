#pragma once
// Where the window's parts sit. Painting, input, accessibility and the view transitions all use
// these, so they agree. Logical pixels, y downward; a rectangle is (x0, y0, x1, y1).

#include <optional>

#include "geo/screen_view.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

// The side panel: open (narrow windows cover the map with it) and, in wide windows, collapsed
// to its header. Every view's layout reads them.
struct PanelFlags {
  bool expanded = false;
  bool collapsed = false;
};

inline constexpr double kLayoutMargin = 16.0;
inline constexpr double kLayoutGap = 10.0;
inline constexpr double kSearchBoxHeight = 48.0;
inline constexpr double kNarrowLayoutBelow = 720.0;

// Narrow when W < 720; a width that is not a number counts as wide.
bool is_narrow_layout(const Rect& bounds);
double side_panel_width(const Rect& bounds);
Rect search_box_rect(const Rect& bounds);
std::optional<Rect> menu_button_rect(const Rect& bounds);
Rect side_panel_rect(const Rect& bounds);

}  // namespace maps

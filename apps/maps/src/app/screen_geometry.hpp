#pragma once
// Where things sit on screen. Painting, input, accessibility and the view transitions all use
// these, so they agree. Logical pixels, y downward; a rectangle is (x0, y0, x1, y1).

#include <optional>

#include "geo/geo.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

using zarn_ui::Rect;

inline constexpr double kLayoutMargin = 16.0;
inline constexpr double kLayoutGap = 10.0;
inline constexpr double kSearchBoxHeight = 48.0;
inline constexpr double kNarrowLayoutBelow = 720.0;

// A box of latitudes and longitudes: min lat, min lon, max lat, max lon.
struct GeoBox {
  double min_lat = 0.0;
  double min_lon = 0.0;
  double max_lat = 0.0;
  double max_lon = 0.0;
  bool operator==(const GeoBox&) const = default;
};

// Narrow when W < 720; a width that is not a number counts as wide.
bool is_narrow_layout(const Rect& bounds);
double side_panel_width(const Rect& bounds);
Rect search_box_rect(const Rect& bounds);
std::optional<Rect> menu_button_rect(const Rect& bounds);
Rect side_panel_rect(const Rect& bounds);
Point map_viewport_center(const Rect& bounds);
Camera view_camera(const Rect& bounds, LatLon center, double zoom);
GeoBox visible_bounds(const Rect& bounds, LatLon center, double zoom);
Point rect_center(const Rect& r);
bool rect_contains_point(const Rect& r, double x, double y);

}  // namespace maps

#pragma once
// Where things sit on screen. Painting, input, accessibility and the view transitions all use
// these, so they agree. Logical pixels, y downward; a rectangle is (x0, y0, x1, y1).

#include <array>
#include <cstdint>
#include <optional>

#include "geo/geo.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

using zarn_ui::Rect;

inline constexpr double kLayoutMargin = 16.0;
inline constexpr double kLayoutGap = 10.0;
inline constexpr double kSearchBoxHeight = 48.0;
inline constexpr double kNarrowLayoutBelow = 720.0;
inline constexpr std::uint8_t kNoControl = 255;

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
// Zoom in, zoom out, locate, traffic: the column at the right edge of `r`.
std::array<Rect, 4> control_button_rects(const Rect& r);
Rect control_button_rect(const Rect& r, std::uint8_t index);
// Index 0..3 of the control under the point, or 255.
std::uint8_t hit_test_controls(const Rect& r, double x, double y);
Point map_viewport_center(const Rect& bounds);
Camera view_camera(const Rect& bounds, LatLon center, double zoom);
GeoBox visible_bounds(const Rect& bounds, LatLon center, double zoom);
Point rect_center(const Rect& r);
bool rect_contains_point(const Rect& r, double x, double y);

}  // namespace maps

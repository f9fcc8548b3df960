#pragma once
// The map on screen: where its centre sits in the widget, the camera of a view, and the box of
// the world it shows. Logical pixels, y downward; a rectangle is (x0, y0, x1, y1).

#include "geo/geo.hpp"
#include "geo/geo_box.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

using zarn_ui::Rect;

Point map_viewport_center(const Rect& bounds);
Camera view_camera(const Rect& bounds, LatLon center, double zoom);
GeoBox visible_bounds(const Rect& bounds, LatLon center, double zoom);
Point rect_center(const Rect& r);
// Inside when x0 <= x < x1 and y0 <= y < y1.
bool rect_contains_point(const Rect& r, double x, double y);

}  // namespace maps

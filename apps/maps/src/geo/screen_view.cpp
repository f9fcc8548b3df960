#include "geo/screen_view.hpp"

#include <algorithm>

namespace maps {

Point map_viewport_center(const Rect& b) { return {(b.x0 + b.x1) / 2.0, (b.y0 + b.y1) / 2.0}; }

Camera view_camera(const Rect& bounds, LatLon center, double zoom) {
  const Point c = map_viewport_center(bounds);
  return new_camera(center.lat, center.lon, zoom, c.x, c.y);
}

GeoBox visible_bounds(const Rect& bounds, LatLon center, double zoom) {
  const Camera cam = view_camera(bounds, center, zoom);
  const LatLon a = camera_unproject(cam, bounds.x0, bounds.y0);
  const LatLon b = camera_unproject(cam, bounds.x1, bounds.y1);
  return {std::min(a.lat, b.lat), std::min(a.lon, b.lon), std::max(a.lat, b.lat), std::max(a.lon, b.lon)};
}

Point rect_center(const Rect& r) { return {0.5 * (r.x0 + r.x1), 0.5 * (r.y0 + r.y1)}; }

bool rect_contains_point(const Rect& r, double x, double y) { return r.x0 <= x && x < r.x1 && r.y0 <= y && y < r.y1; }

}  // namespace maps

#pragma once
// Great-circle distance, web-mercator projection at any fractional zoom, and the view camera.

#include <utility>
#include <vector>

#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

inline constexpr double kEarthDiameterM = 12756274.0;
inline constexpr double kDegToRad = 0.017453292519943295;
inline constexpr double kRadToDeg = 57.29577951308232;
inline constexpr double kMercatorLatLimit = 85.05112878;

// Screen and world points share the framework's point type.
using Point = zarn_ui::Point;

// The projection of one view: the centre in world pixels at `zoom`, and where it sits on screen.
struct Camera {
  double world_x = 0.0;
  double world_y = 0.0;
  double screen_x = 0.0;
  double screen_y = 0.0;
  double zoom = 0.0;
  bool operator==(const Camera&) const = default;
};

double haversine_m(LatLon a, LatLon b);
// World size 256 * 2^zoom; latitude clamped to the mercator limit, longitude left as is.
Point project_mercator(double lat, double lon, double zoom);
LatLon unproject_mercator(double x, double y, double zoom);
double polyline_length_m(const std::vector<LatLon>& points);

Camera new_camera(double center_lat, double center_lon, double zoom, double screen_x, double screen_y);
Point camera_project(const Camera& camera, double lat, double lon);
LatLon camera_unproject(const Camera& camera, double x, double y);

// A rough two-leg route (along the start's latitude, then to the destination) timed at a
// fixed speed per travel mode; shown while the routing service is asked or when it fails.
Route offline_route_estimate(TravelMode mode, LatLon from, LatLon to);

}  // namespace maps

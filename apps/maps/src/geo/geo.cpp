#include "geo/geo.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace maps {

double haversine_m(LatLon a, LatLon b) {
  const double lat1 = a.lat * kDegToRad;
  const double lat2 = b.lat * kDegToRad;
  const double dlat = (b.lat - a.lat) * kDegToRad;
  const double dlon = (b.lon - a.lon) * kDegToRad;
  const double s1 = std::sin(dlat / 2.0);
  const double s2 = std::sin(dlon / 2.0);
  double h = s1 * s1 + std::cos(lat1) * std::cos(lat2) * s2 * s2;
  // Rounding can push h a hair past 1 for antipodal points; asin would then give NaN.
  if (h > 1.0) h = 1.0;
  return kEarthDiameterM * std::asin(std::sqrt(h));
}

Point project_mercator(double lat, double lon, double zoom) {
  const double s = 256.0 * std::exp2(zoom);
  const double x = (lon + 180.0) / 360.0 * s;
  const double la = std::clamp(lat, -kMercatorLatLimit, kMercatorLatLimit) * kDegToRad;
  const double y = s * (0.5 - std::log(std::tan(la) + 1.0 / std::cos(la)) / (2.0 * std::numbers::pi));
  return {x, y};
}

LatLon unproject_mercator(double x, double y, double zoom) {
  const double s = 256.0 * std::exp2(zoom);
  const double lon = x / s * 360.0 - 180.0;
  const double n = std::numbers::pi - 2.0 * std::numbers::pi * y / s;
  const double sinh_n = (std::exp(n) - std::exp(-n)) / 2.0;
  return {std::atan(sinh_n) * kRadToDeg, lon};
}

double polyline_length_m(const std::vector<LatLon>& points) {
  double total = 0.0;
  for (std::size_t i = 1; i < points.size(); ++i) total += haversine_m(points[i - 1], points[i]);
  return total;
}

Camera new_camera(double center_lat, double center_lon, double zoom, double screen_x, double screen_y) {
  const Point w = project_mercator(center_lat, center_lon, zoom);
  return {w.x, w.y, screen_x, screen_y, zoom};
}

Point camera_project(const Camera& camera, double lat, double lon) {
  const Point p = project_mercator(lat, lon, camera.zoom);
  return {p.x - camera.world_x + camera.screen_x, p.y - camera.world_y + camera.screen_y};
}

LatLon camera_unproject(const Camera& camera, double x, double y) {
  return unproject_mercator(x - camera.screen_x + camera.world_x, y - camera.screen_y + camera.world_y, camera.zoom);
}

namespace {
double estimate_speed_m_per_h(TravelMode mode) {
  switch (mode) {
    case TravelMode::Car: return 32000.0;
    case TravelMode::Transit: return 20000.0;
    case TravelMode::Bike: return 15000.0;
    case TravelMode::Foot: return 4800.0;
  }
  return 32000.0;
}
}  // namespace

Route offline_route_estimate(TravelMode mode, LatLon from, LatLon to) {
  const LatLon corner{from.lat, to.lon};
  Route route;
  route.mode = mode;
  route.geometry = {from, corner, to};
  route.distance_m = polyline_length_m(route.geometry);
  route.duration_s = route.distance_m / (estimate_speed_m_per_h(mode) / 3600.0);
  const bool west = to.lon < from.lon;
  const bool north = to.lat >= from.lat;
  const bool left = west ? !north : north;
  route.steps = {
      {std::string("Head ") + (west ? "west" : "east") + " to start", haversine_m(from, corner), Maneuver::Depart},
      {std::string("Turn ") + (left ? "left" : "right") + " toward destination", haversine_m(corner, to),
       left ? Maneuver::Left : Maneuver::Right},
      {"Arrive at destination", 0.0, Maneuver::Arrive},
  };
  route.from = from;
  route.to = to;
  return route;
}

}  // namespace maps

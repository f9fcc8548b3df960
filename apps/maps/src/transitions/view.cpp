#include "transitions/view.hpp"

#include <algorithm>
#include <cmath>

#include "draw_kit/layout_metrics.hpp"
#include "geo/geo.hpp"
#include "transitions/session.hpp"

namespace maps {
namespace {

constexpr double kMinRoom = 64.0;
constexpr int kFitZoomSteps = 64;

bool finite_point(const LatLon& p) { return std::isfinite(p.lat) && std::isfinite(p.lon); }

}  // namespace

void arm_view_idle_timer(Session& s) { s.backend.view_pois.idle_deadline = s.backend.now() + kViewIdleDelay; }

void pan_map(Session& s, double dx, double dy) {
  // A non-finite delta would poison the centre for good.
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  const double zoom = s.model.zoom;
  const Point w = project_mercator(s.model.center.lat, s.model.center.lon, zoom);
  s.model.center = unproject_mercator(w.x - dx, w.y - dy, zoom);
  arm_view_idle_timer(s);
}

void zoom_map_at(Session& s, double delta, double ax, double ay) {
  if (!std::isfinite(delta) || !std::isfinite(ax) || !std::isfinite(ay)) return;
  const LatLon old_center = s.model.center;
  const Camera before = view_camera(s.bounds, old_center, s.model.zoom);
  const LatLon anchor = camera_unproject(before, ax, ay);

  const double zoom = std::clamp(s.model.zoom + delta, kMinZoom, kMaxZoom);
  s.model.zoom = zoom;

  // Where the anchored point would land if only the zoom changed; shift the centre back by that.
  const Camera after = view_camera(s.bounds, old_center, zoom);
  const Point landed = camera_project(after, anchor.lat, anchor.lon);
  const Point w = project_mercator(old_center.lat, old_center.lon, zoom);
  s.model.center = unproject_mercator(w.x + landed.x - ax, w.y + landed.y - ay, zoom);
  arm_view_idle_timer(s);
}

std::optional<Viewport> viewport_for_points(const std::vector<LatLon>& points, double width, double height,
                                            double inset) {
  bool any = false;
  double min_lat = 0, max_lat = 0, min_lon = 0, max_lon = 0;
  for (const LatLon& p : points) {
    if (!finite_point(p)) continue;
    if (!any) {
      min_lat = max_lat = p.lat;
      min_lon = max_lon = p.lon;
      any = true;
      continue;
    }
    min_lat = std::min(min_lat, p.lat);
    max_lat = std::max(max_lat, p.lat);
    min_lon = std::min(min_lon, p.lon);
    max_lon = std::max(max_lon, p.lon);
  }
  if (!any) return std::nullopt;

  const LatLon center{(min_lat + max_lat) / 2.0, (min_lon + max_lon) / 2.0};
  // Written so that a NaN room falls back to the minimum.
  const double room_w = width - 2.0 * inset > kMinRoom ? width - 2.0 * inset : kMinRoom;
  const double room_h = height - 2.0 * inset > kMinRoom ? height - 2.0 * inset : kMinRoom;

  double zoom = kMinZoom;
  for (int i = 0; i < kFitZoomSteps; ++i) {
    const double zi = kMinZoom + i / 4.0;
    const Point nw = project_mercator(max_lat, min_lon, zi);
    const Point se = project_mercator(min_lat, max_lon, zi);
    if (std::abs(se.x - nw.x) <= room_w && std::abs(se.y - nw.y) <= room_h) {
      zoom = zi;
    } else {
      break;
    }
  }
  return Viewport{center, zoom};
}

void centre_view_on(Session& s, LatLon pos) {
  s.model.center = pos;
  arm_view_idle_timer(s);
}

void fit_view_to_points(Session& s, const std::vector<LatLon>& points) {
  const Rect& b = s.bounds;
  const double w = b.width();
  const bool narrow = is_narrow_layout(b);
  double usable = narrow ? w - 32.0 : w - (side_panel_width(b) + 32.0 + 10.0);
  if (!(usable >= 200.0)) usable = 200.0;
  // A road route comes with the docked navigation panel at the bottom of the map: the points are
  // fitted above it, else the route's start or end would lie under it. At most half the height.
  const double cover = s.model.route ? std::clamp(s.navigation_cover, 0.0, std::max(0.0, b.height() / 2.0)) : 0.0;
  const auto view = viewport_for_points(points, usable, b.height() - cover, kFitInset);
  if (!view) return;
  const double zoom = std::min(view->zoom, kHighestFittedZoom);
  s.model.zoom = zoom;
  s.model.center = view->center;
  // Beside a shown side panel the points are centred in the map area right of it, else their
  // start would lie under the panel.
  double dx = 0.0;
  if (!narrow && !s.panel.collapsed) {
    const double area_x0 = side_panel_rect(b).x1 + kLayoutGap;
    dx = (area_x0 + usable / 2.0) - map_viewport_center(b).x;
  }
  const double dy = -cover / 2.0;
  if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0.0 && dy == 0.0)) return;
  const Point c = project_mercator(view->center.lat, view->center.lon, zoom);
  s.model.center = unproject_mercator(c.x - dx, c.y - dy, zoom);
}

void fit_view_to_route(Session& s) {
  if (s.model.route) fit_view_to_points(s, s.model.route->geometry);
}

void fit_view_to_plan(Session& s) {
  const MapModel& m = s.model;
  if (m.route && m.route->geometry.size() > 1) {
    fit_view_to_points(s, m.route->geometry);
    return;
  }
  if (m.transit_choice < m.transit.size()) {
    std::vector<LatLon> joined;
    for (const TransitLeg& leg : m.transit[m.transit_choice].legs) {
      joined.insert(joined.end(), leg.geometry.begin(), leg.geometry.end());
    }
    if (joined.size() > 1) {
      fit_view_to_points(s, joined);
      return;
    }
  }
  std::vector<LatLon> ends;
  if (m.origin) ends.push_back(*m.origin);
  if (m.dest) ends.push_back(*m.dest);
  if (ends.size() == 2) fit_view_to_points(s, ends);
}

}  // namespace maps

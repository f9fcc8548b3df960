#pragma once
// Changes of the map view: panning, zooming about a point, and fitting the view to points, the
// route or the current plan. Pans and zooms arm the view-idle deadline; fitting does not.

#include <chrono>
#include <optional>
#include <vector>

#include "model/records.hpp"

namespace maps {

struct Session;

inline constexpr double kMinZoom = 3.0;
inline constexpr double kMaxZoom = 19.0;
inline constexpr double kHighestFittedZoom = 16.5;
inline constexpr double kFitInset = 70.0;
inline constexpr std::chrono::milliseconds kViewIdleDelay{450};

struct Viewport {
  LatLon center;
  double zoom = 0.0;
  bool operator==(const Viewport&) const = default;
};

// The view-idle deadline 450 ms from the state's clock; an earlier one is replaced.
void arm_view_idle_timer(Session& s);
// Moves the map with a pointer drag of (dx, dy) screen pixels.
void pan_map(Session& s, double dx, double dy);
// Zooms by `delta` levels (clamped to 3..19) keeping the point under (ax, ay) where it is.
void zoom_map_at(Session& s, double delta, double ax, double ay);

// The centre and the largest quarter-step zoom at which the box of `points` fits the room
// (width and height less the inset on each side, at least 64 px). Non-finite points are
// ignored; none left gives no result.
std::optional<Viewport> viewport_for_points(const std::vector<LatLon>& points, double width, double height,
                                            double inset);
// The map jumps to `pos` (a chosen place, a search answer, the device's position), keeping its
// zoom. As after a pan, the view-idle deadline is armed: once the map rests there, the points
// of interest of the new view are asked for, so the nearby list never lists another city's.
void centre_view_on(Session& s, LatLon pos);
// Fits the widget less the side panel, never closer than zoom 16.5.
void fit_view_to_points(Session& s, const std::vector<LatLon>& points);
void fit_view_to_route(Session& s);
// The route, else the chosen journey, else the two endpoints.
void fit_view_to_plan(Session& s);

}  // namespace maps

#include "map_layers/journey.hpp"

#include <cmath>

#include "draw_kit/primitives.hpp"
#include "draw_kit/theme_colors.hpp"
#include "map_layers/vector_map.hpp"

namespace maps {

namespace {

constexpr double kDashPeriod = 11.0;
constexpr double kDashLength = 6.0;
constexpr double kStopRadius = 5.0;

// Dashes restart at every vertex.
void stroke_walking_dashes(Scene& scene, const Affine& transform, const std::vector<Point>& points,
                           const Color& color) {
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const Point a = points[i];
    const Point b = points[i + 1];
    const double d = std::hypot(b.x - a.x, b.y - a.y);
    if (!(d >= 0.001) || !std::isfinite(d)) continue;
    const Point u = (b - a) * (1.0 / d);
    const double last = std::ceil(d / kDashPeriod);
    for (double k = 0.0; k * kDashPeriod < d && k <= last; k += 1.0) {
      const Point from = a + u * (k * kDashPeriod);
      const Point to = a + u * std::min(k * kDashPeriod + kDashLength, d);
      stroke_line(scene, transform, color, from.x, from.y, to.x, to.y, 3.0);
    }
  }
}

void paint_stop(Scene& scene, const Affine& transform, const Rect& bounds, Point p, const Color& halo,
                const Color& color) {
  if (!bounds.contains(p)) return;
  fill_circle(scene, transform, halo, p.x, p.y, kStopRadius);
  stroke_circle(scene, transform, color, p.x, p.y, kStopRadius, 2.5);
}

}  // namespace

void paint_transit_journey(Scene& scene, const Affine& transform, const Camera& camera, const TransitJourney& journey,
                           const zarn_ui::theme::Theme& theme, const MapPalette& palette, const Rect& bounds) {
  scene.push_layer(bounds, transform);
  for (const TransitLeg& leg : journey.legs) {
    if (leg.geometry.size() < 2) continue;
    const std::vector<Point> points = project_polyline(camera, leg.geometry);
    const Color c = transit_leg_color(theme, leg);
    if (leg.mode == TransitMode::Walk) {
      stroke_walking_dashes(scene, transform, points, c.multiply_alpha(0.9f));
    } else {
      stroke_polyline(scene, transform, points, mix_color(c, Color::black(), 0.45f), 8.0);
      stroke_polyline(scene, transform, points, c, 5.0);
    }
  }
  // Stops over every line: where each ride begins and ends.
  for (const TransitLeg& leg : journey.legs) {
    if (leg.mode == TransitMode::Walk || leg.geometry.empty()) continue;
    const std::vector<Point> points = project_polyline(camera, leg.geometry);
    const Color c = transit_leg_color(theme, leg);
    paint_stop(scene, transform, bounds, points.front(), palette.halo, c);
    paint_stop(scene, transform, bounds, points.back(), palette.halo, c);
  }
  scene.pop_layer();
}

}  // namespace maps

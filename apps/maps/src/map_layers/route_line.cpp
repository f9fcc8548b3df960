#include "map_layers/route_line.hpp"

#include "draw_kit/primitives.hpp"
#include "map_layers/vector_map.hpp"

namespace maps {

namespace {

constexpr double kCasingWidth = 9.0;
constexpr double kLineWidth = 5.5;
constexpr double kEndRadius = 7.0;

}  // namespace

void paint_route(Scene& scene, const Affine& transform, const Camera& camera, const Route& route,
                 const MapPalette& palette) {
  const std::vector<Point> points = project_polyline(camera, route.geometry);
  if (points.size() < 2) return;
  stroke_polyline(scene, transform, points, palette.route_casing, kCasingWidth);
  stroke_polyline(scene, transform, points, palette.route_line, kLineWidth);
  // The start is a hollow disc, the end a solid one.
  const Point start = points.front();
  fill_circle(scene, transform, palette.halo, start.x, start.y, kEndRadius);
  stroke_circle(scene, transform, palette.route_line, start.x, start.y, kEndRadius, 3.0);
  const Point end = points.back();
  fill_circle(scene, transform, palette.route_line, end.x, end.y, kEndRadius);
  stroke_circle(scene, transform, palette.halo, end.x, end.y, kEndRadius, 2.5);
}

}  // namespace maps

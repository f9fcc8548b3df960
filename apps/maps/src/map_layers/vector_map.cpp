#include "map_layers/vector_map.hpp"

#include <algorithm>
#include <cmath>

#include "draw_kit/primitives.hpp"

namespace maps {

namespace {

constexpr double kRiverWidthFactor = 3.2;  // the river is this many major roads wide
constexpr double kCasingExtra = 2.0;

const Color& road_color(const MapPalette& palette, RoadClass road_class) {
  switch (road_class) {
    case RoadClass::Avenue: return palette.major_road;
    case RoadClass::Secondary: return palette.secondary_road;
    default: return palette.minor_road;
  }
}

void fill_projected(Scene& scene, const Affine& transform, std::vector<Point> points, const Color& fill,
                    const std::optional<Color>& outline) {
  fill_closed_polyline(scene, transform, points, fill);
  if (outline) {
    if (!points.empty()) points.push_back(points.front());
    stroke_polyline(scene, transform, points, *outline, 1.0);
  }
}

// Whether a line through `points`, `width` wide, can touch `reach`; anything not finite is left
// to the replay's guards.
bool touches(const std::vector<Point>& points, double width, const std::optional<Rect>& reach) {
  if (!reach || points.empty()) return true;
  double x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
  for (const Point& p : points) {
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  }
  const double m = 0.5 * width + 1.0;
  if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1) && std::isfinite(m))) {
    return true;
  }
  return !(x1 + m < reach->x0 || x0 - m > reach->x1 || y1 + m < reach->y0 || y0 - m > reach->y1);
}

void fill_areas(Scene& scene, const Affine& transform, const Camera& camera, const VectorMap& map, AreaClass area_class,
                const Color& fill, const std::optional<Color>& outline, const std::optional<Rect>& reach) {
  for (const MapArea& area : map.areas) {
    if (area.area_class != area_class) continue;
    std::vector<Point> points = project_polyline(camera, area.ring);
    if (touches(points, 1.0, reach)) fill_projected(scene, transform, std::move(points), fill, outline);
  }
}

void stroke_road(Scene& scene, const Affine& transform, const Camera& camera, const MapRoad& road, const Color& color,
                 double width, const std::optional<Rect>& reach) {
  std::vector<Point> points = project_polyline(camera, road.points);
  if (touches(points, width, reach)) stroke_polyline(scene, transform, points, color, width);
}

}  // namespace

double map_zoom_scale(double zoom) { return std::max(zoom - 12.0, 0.0) * 0.35 + 1.0; }

double vector_line_width(RoadClass road_class, double zoom) {
  const double scale = map_zoom_scale(zoom);
  switch (road_class) {
    case RoadClass::Avenue: return 4.2 * scale;
    case RoadClass::Secondary: return 3.0 * scale;
    case RoadClass::Grid: return 1.6 * scale;
    default: return 1.0 * scale;
  }
}

std::vector<Point> project_polyline(const Camera& camera, const std::vector<LatLon>& points) {
  std::vector<Point> out;
  out.reserve(points.size());
  for (const LatLon& p : points) out.push_back(camera_project(camera, p.lat, p.lon));
  return out;
}

void fill_area_polygon(Scene& scene, const Affine& transform, const Camera& camera, const MapArea& area,
                       const Color& fill, const std::optional<Color>& outline) {
  fill_projected(scene, transform, project_polyline(camera, area.ring), fill, outline);
}

void paint_vector_map(Scene& scene, const Affine& transform, const Rect& bounds, const Camera& camera,
                      const VectorMap& map, const MapPalette& palette, const std::optional<Rect>& reach) {
  fill_rect(scene, transform, bounds, palette.land);
  fill_areas(scene, transform, camera, map, AreaClass::Water, palette.water, std::nullopt, reach);
  fill_areas(scene, transform, camera, map, AreaClass::Park, palette.park, palette.park_outline, reach);
  stroke_polyline(scene, transform, project_polyline(camera, map.river), palette.water,
                  vector_line_width(RoadClass::Avenue, camera.zoom) * kRiverWidthFactor);
  fill_areas(scene, transform, camera, map, AreaClass::Block, palette.block, palette.block_outline, reach);
  // Every casing first, so every road's fill lies above every casing.
  for (const MapRoad& road : map.roads) {
    if (road.road_class == RoadClass::Grid) continue;
    stroke_road(scene, transform, camera, road, palette.road_casing,
                vector_line_width(road.road_class, camera.zoom) + kCasingExtra, reach);
  }
  for (const MapRoad& road : map.roads) {
    stroke_road(scene, transform, camera, road, road_color(palette, road.road_class),
                vector_line_width(road.road_class, camera.zoom), reach);
  }
}

}  // namespace maps

#include "map_layers/vector_map.hpp"

#include <algorithm>

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

void fill_areas(Scene& scene, const Affine& transform, const Camera& camera, const VectorMap& map, AreaClass area_class,
                const Color& fill, const std::optional<Color>& outline) {
  for (const MapArea& area : map.areas) {
    if (area.area_class == area_class) fill_area_polygon(scene, transform, camera, area, fill, outline);
  }
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
  std::vector<Point> points = project_polyline(camera, area.ring);
  fill_closed_polyline(scene, transform, points, fill);
  if (outline) {
    if (!points.empty()) points.push_back(points.front());
    stroke_polyline(scene, transform, points, *outline, 1.0);
  }
}

void paint_vector_map(Scene& scene, const Affine& transform, const Rect& bounds, const Camera& camera,
                      const VectorMap& map, const MapPalette& palette) {
  fill_rect(scene, transform, bounds, palette.land);
  fill_areas(scene, transform, camera, map, AreaClass::Water, palette.water, std::nullopt);
  fill_areas(scene, transform, camera, map, AreaClass::Park, palette.park, palette.park_outline);
  stroke_polyline(scene, transform, project_polyline(camera, map.river), palette.water,
                  vector_line_width(RoadClass::Avenue, camera.zoom) * kRiverWidthFactor);
  fill_areas(scene, transform, camera, map, AreaClass::Block, palette.block, palette.block_outline);
  // Every casing first, so every road's fill lies above every casing.
  for (const MapRoad& road : map.roads) {
    if (road.road_class == RoadClass::Grid) continue;
    stroke_polyline(scene, transform, project_polyline(camera, road.points), palette.road_casing,
                    vector_line_width(road.road_class, camera.zoom) + kCasingExtra);
  }
  for (const MapRoad& road : map.roads) {
    stroke_polyline(scene, transform, project_polyline(camera, road.points), road_color(palette, road.road_class),
                    vector_line_width(road.road_class, camera.zoom));
  }
}

}  // namespace maps

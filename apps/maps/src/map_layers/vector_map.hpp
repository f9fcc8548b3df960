#pragma once
// The street map of the built-in city, drawn from geometry held in memory: water, parks, the
// river, blocks, then road casings and roads. Widths grow with the zoom.

#include <cstdint>
#include <optional>
#include <vector>

#include "draw_kit/palette.hpp"
#include "geo/geo.hpp"
#include "model/vector_map.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"

namespace maps {

// 1 up to zoom 12, then 0.35 more per zoom level.
double map_zoom_scale(double zoom);
// Road widths in pixels by class, the avenue the widest.
double vector_line_width(RoadClass road_class, double zoom);
std::vector<Point> project_polyline(const Camera& camera, const std::vector<LatLon>& points);

// One area filled, with a 1 px outline around the closed ring when a colour is given.
void fill_area_polygon(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const Camera& camera,
                       const MapArea& area, const Color& fill, const std::optional<Color>& outline);

// With `reach`, areas and roads that cannot touch it (in the transform's space) are left out:
// the same pixels inside it, from a smaller scene.
void paint_vector_map(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::Rect& bounds,
                      const Camera& camera, const VectorMap& map, const MapPalette& palette,
                      const std::optional<zarn_ui::Rect>& reach = std::nullopt);

}  // namespace maps

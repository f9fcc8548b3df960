#pragma once
// The traffic layer: every segment's casing, then every segment in its level's colour.

#include <cstdint>
#include <vector>

#include "draw_kit/palette.hpp"
#include "geo/geo.hpp"
#include "model/vector_map.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"

namespace maps {

// Line width of a traffic level at a zoom.
double traffic_line_width(TrafficLevel level, double zoom);

void paint_traffic(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const Camera& camera,
                   const std::vector<TrafficSegment>& segments, const MapPalette& palette);

}  // namespace maps

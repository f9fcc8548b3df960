#pragma once
// The road route's line over the map, in the route colour with its casing.

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "geo/geo.hpp"
#include "model/records.hpp"
#include "zarn_ui/scene.hpp"

namespace maps {

void paint_route(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const Camera& camera, const Route& route,
                 const MapPalette& palette);

}  // namespace maps

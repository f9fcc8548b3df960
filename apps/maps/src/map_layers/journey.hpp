#pragma once
// The chosen public-transport journey over the map, leg by leg.

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "geo/geo.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

void paint_transit_journey(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const Camera& camera,
                           const TransitJourney& journey, const zarn_ui::theme::Theme& theme, const MapPalette& palette,
                           const zarn_ui::Rect& bounds);

}  // namespace maps

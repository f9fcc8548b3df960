#pragma once
// The map canvas, bottom to top: raster tiles (else the vector map, else the tile grid), traffic,
// the route line, the chosen journey, the point-of-interest markers, the location dot and pins.
// The vector map with its traffic comes from the picture the map layers keep (MapLayers).

#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

// True when raster tiles were drawn. `device_scale` is the target's pixels per unit: the city is
// kept as a picture at that resolution.
bool paint_map_layers(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                      const zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme,
                      double device_scale = 1.0);

}  // namespace maps

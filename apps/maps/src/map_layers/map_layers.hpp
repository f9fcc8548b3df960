#pragma once
// The map canvas, bottom to top: raster tiles (else the vector map, else the tile grid), traffic,
// the route line, the chosen journey, the point-of-interest markers, the location dot and pins.
// The vector map with its traffic comes from the picture the map layers keep (MapLayers).

#include <optional>
#include <string>
#include <vector>

#include "map_layers/layer_cache.hpp"
#include "model/records.hpp"
#include "model/vector_map.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

// What the map layers read of the window in a frame.
struct MapLayerInputs {
  const MapModel& model;
  const zarn_ui::Rect& bounds;
  // The raster tiles; their style follows the theme's background.
  TileStore& tiles;
  const VectorMap& vector_map;
  // The traffic to draw over the streets; none while traffic is off.
  const std::vector<TrafficSegment>* traffic;
  const std::vector<Poi>& pois;
  const std::optional<std::string>& selected_poi;
  // An open side panel, which in the narrow layout keeps the markers to its right.
  bool panel_expanded;
};

// True when raster tiles were drawn. `device_scale` is the target's pixels per unit: the city is
// kept as a picture at that resolution, in `layers`.
bool paint_map_layers(MapLayers& layers, const MapLayerInputs& in, zarn_ui::Scene& scene,
                      const zarn_ui::Affine& transform, const zarn_ui::text_render::TextRenderer& text,
                      const zarn_ui::theme::Theme& theme, double device_scale = 1.0);

}  // namespace maps

#include "app/map_layers_view.hpp"

#include "app/maps_app.hpp"

namespace maps {

MapLayerInputs map_layer_inputs(MapsApp& app) {
  return {.model = app.model,
          .bounds = app.bounds_rect,
          .tiles = app.backend.tiles,
          .vector_map = app.vector_map,
          .traffic = app.backend.traffic.enabled ? &app.backend.traffic.segments : nullptr,
          .pois = app.backend.view_pois.pois,
          .selected_poi = app.selected_poi,
          .panel_expanded = app.panel.expanded};
}

}  // namespace maps

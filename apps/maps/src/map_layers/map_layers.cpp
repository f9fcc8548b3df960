#include "map_layers/map_layers.hpp"

#include "draw_kit/palette.hpp"
#include "geo/screen_view.hpp"
#include "map_layers/journey.hpp"
#include "map_layers/location_pins.hpp"
#include "map_layers/markers.hpp"
#include "map_layers/raster_tiles.hpp"
#include "map_layers/route_line.hpp"
#include "map_layers/traffic.hpp"
#include "map_layers/vector_map.hpp"

namespace maps {

bool paint_map_layers(MapLayers& layers, const MapLayerInputs& in, zarn_ui::Scene& scene,
                      const zarn_ui::Affine& transform, const zarn_ui::text_render::TextRenderer& text,
                      const zarn_ui::theme::Theme& theme, double device_scale) {
  const Rect& bounds = in.bounds;
  const MapModel& model = in.model;
  set_tile_style(in.tiles, is_dark_background(theme));
  const MapPalette palette = map_palette(theme);
  const Camera camera = view_camera(bounds, model.center, model.zoom);
  const Rect markers = marker_area(bounds, in.panel_expanded);

  const Point mid = map_viewport_center(bounds);
  const bool raster =
      paint_raster_tiles(scene, transform, bounds, in.tiles, model.center, model.zoom, palette, mid.x, mid.y);
  const bool city = !raster && !vector_map_empty(in.vector_map);
  if (city) {
    layers.paint_city(scene, transform, bounds, camera, in.vector_map, in.traffic, palette, device_scale);
  } else {
    layers.release_picture();
    if (!raster) paint_tile_grid(scene, transform, bounds, model.center, model.zoom, palette, mid.x, mid.y);
    if (in.traffic) paint_traffic(scene, transform, camera, *in.traffic, palette);
  }
  if (model.route) paint_route(scene, transform, camera, *model.route, palette);
  if (model.mode == TravelMode::Transit && model.transit_choice < model.transit.size()) {
    paint_transit_journey(scene, transform, camera, model.transit[model.transit_choice], theme, palette, bounds);
  }
  paint_markers(scene, transform, text, camera, in.pois, poi_marker_layout(camera, in.pois, in.selected_poi),
                in.selected_poi, theme, palette, markers);
  paint_location_and_selection(scene, transform, text, camera, model, theme, palette, markers, layers.pin_images(),
                               device_scale);
  return raster;
}

}  // namespace maps

#include "app/construct.hpp"

#include "sample/demo_city.hpp"
#include "sample/sample_data.hpp"

namespace maps {

std::unique_ptr<MapsApp> build_maps_app(MapModel model, VectorMap vector_map, TileStore tile_store, bool panel_expanded,
                                        bool live) {
  // MapsApp is large and owned by the framework through a box, so build it in place. Each view
  // builds its own widgets.
  auto app = std::make_unique<MapsApp>();
  app->model = std::move(model);
  app->vector_map = std::move(vector_map);
  app->backend.tiles = std::move(tile_store);
  // The cache's size comes from the tile worker, which walks the folder off the window's thread.
  start_disk_measure(app->backend.tiles);
  app->panel.expanded = panel_expanded;
  app->backend.live = live;
  return app;
}

std::unique_ptr<MapsApp> new_live_app() {
  return build_maps_app(default_map_model(), VectorMap{}, open_tile_store(), false, true);
}

// Demonstration states keep their tiles in memory only: clearing or deleting an area there must
// never reach the user's cache.
std::unique_ptr<MapsApp> new_empty_app() {
  return build_maps_app(default_map_model(), VectorMap{}, new_memory_tile_store(), true, false);
}

std::unique_ptr<MapsApp> new_sample_app() {
  return build_maps_app(sample_map_model(), demo_city_geometry(), new_memory_tile_store(), true, false);
}

std::unique_ptr<zarn_ui::widget::Widget> make_default_app() { return new_live_app(); }

}  // namespace maps

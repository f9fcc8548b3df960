#pragma once
// The three ways to build the state, and the default-application factory.

#include <memory>

#include "app/maps_app.hpp"
#include "tiles/tile_store.hpp"

namespace maps {

// The one place where a state is assembled; every member not given takes its initial value.
std::unique_ptr<MapsApp> build_maps_app(MapModel model, VectorMap vector_map, TileStore tile_store, bool panel_expanded,
                                        bool live);
std::unique_ptr<MapsApp> new_live_app();
std::unique_ptr<MapsApp> new_empty_app();
std::unique_ptr<MapsApp> new_sample_app();
std::unique_ptr<zarn_ui::widget::Widget> make_default_app();

}  // namespace maps

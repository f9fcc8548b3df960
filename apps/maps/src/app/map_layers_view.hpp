#pragma once
// The map layers' view of the window: what they read of it in a frame.

#include "map_layers/map_layers.hpp"

namespace maps {

class MapsApp;

MapLayerInputs map_layer_inputs(MapsApp& app);

}  // namespace maps

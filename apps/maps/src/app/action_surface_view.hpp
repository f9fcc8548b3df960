#pragma once
// The action surface's view of the window: what its resources read of it.

#include "action_surface/surface_resources.hpp"

namespace maps {

class MapsApp;

ResourceInputs resource_inputs(const MapsApp& app);

}  // namespace maps

#pragma once
// The overlay in the window: what its groups read of the app, and what its controls do.

#include "messages/map_control.hpp"
#include "overlay/overlay_painters.hpp"

namespace maps {

class MapsApp;

// The bounds, the side panel's flags, the traffic data, the status line, the selected point of
// interest and those of the view, the overflow menu's and the download's state.
OverlayInputs overlay_inputs(const MapsApp& app);

// Runs a map control's command: zoom in or out about the map's centre, locate, or switch the
// traffic overlay.
void handle_map_control(MapsApp& app, MapControl control);

}  // namespace maps

#pragma once
// The traffic overlay.

namespace maps {

class MapsApp;

// Switching on computes the levels from the vector map (none without one); switching off keeps
// them, just not drawn.
void set_traffic_enabled(MapsApp& app, bool on);

}  // namespace maps

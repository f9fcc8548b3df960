#pragma once
// The traffic overlay.

namespace maps {

struct Session;

// Switching on computes the levels from the vector map (none without one); switching off keeps
// them, just not drawn.
void set_traffic_enabled(Session& s, bool on);

}  // namespace maps

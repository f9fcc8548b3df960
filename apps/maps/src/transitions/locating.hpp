#pragma once
// Asking for the device's location.

namespace maps {

class MapsApp;

// One request at a time; only a live state asks the location service.
void start_locating(MapsApp& app);

}  // namespace maps

#pragma once
// Asking for the device's location.

namespace maps {

struct Session;

// One request at a time; only a live state asks the location service.
void start_locating(Session& s);

}  // namespace maps

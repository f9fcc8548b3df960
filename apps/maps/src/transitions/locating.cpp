#include "transitions/locating.hpp"

#include "app/maps_app.hpp"
#include "location/location.hpp"

namespace maps {

void start_locating(MapsApp& app) {
  if (app.backend.location.pending) return;
  app.backend.location.pending = true;
  app.set_status("Locating…", StatusKind::InProgress);
  if (app.backend.live) app.backend.location.receiver = spawn_location_worker();
}

}  // namespace maps

#include "transitions/locating.hpp"

#include "app/maps_app.hpp"
#include "location/location.hpp"

namespace maps {

void start_locating(MapsApp& app) {
  if (app.location_pending) return;
  app.location_pending = true;
  app.set_status("Locating…", StatusKind::InProgress);
  if (app.backend.live) app.location_receiver = spawn_location_worker();
}

}  // namespace maps

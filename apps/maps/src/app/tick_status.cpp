// The status line's own timer: a failure is told for a while, not until something else happens.

#include "app/tick_steps.hpp"
#include "map_layers/raster_tiles.hpp"

namespace maps::tick_steps {

void expire_failure_status(MapsApp& app) {
  app.status_fresh = false;
  if (app.status_expires && app.mono_now() >= *app.status_expires) app.clear_status();
}

void report_tile_failures(MapsApp& app) {
  const bool failing = has_failed_tiles(app.tile_store) &&
                       failed_tiles_in_view(app.tile_store, app.bounds_rect, app.model.center, app.model.zoom) > 0;
  if (!failing) {
    app.tile_failure_told = false;
    app.tile_notice_waiting = false;
    if (app.status_service == Service::Tiles) app.clear_status();
    return;
  }
  app.tile_notice_waiting = false;
  // Work under way, what this tick reported, and another service's failure are told first.
  if (app.tile_failure_told || status_in_progress(app.status_kind)) return;
  if (app.status_fresh) {
    app.tile_notice_waiting = true;
    return;
  }
  if (app.status_service && app.status_service != Service::Tiles) return;
  const base::Error error =
      app.tile_store.last_failure.value_or(base::err(base::ErrorKind::Other, "a map tile could not be loaded"));
  app.report_failure("Some map tiles could not be loaded: ", Service::Tiles, error);
  app.tile_failure_told = true;
}

}  // namespace maps::tick_steps

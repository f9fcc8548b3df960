// The status line's own timer: a failure is told for a while, not until something else happens.

#include "app/tick_steps.hpp"
#include "map_layers/raster_tiles.hpp"

namespace maps::tick_steps {

void expire_failure_status(MapsApp& app) {
  app.backend.status.fresh = false;
  if (app.backend.status.expires && app.backend.now() >= *app.backend.status.expires) app.clear_status();
}

void report_tile_failures(MapsApp& app) {
  const bool failing = has_failed_tiles(app.backend.tiles) &&
                       failed_tiles_in_view(app.backend.tiles, app.bounds_rect, app.model.center, app.model.zoom) > 0;
  if (!failing) {
    app.backend.status.tile_failure_told = false;
    app.backend.status.tile_notice_waiting = false;
    if (app.backend.status.service == Service::Tiles) app.clear_status();
    return;
  }
  app.backend.status.tile_notice_waiting = false;
  // Work under way, what this tick reported, and another service's failure are told first.
  if (app.backend.status.tile_failure_told || status_in_progress(app.backend.status.kind)) return;
  if (app.backend.status.fresh) {
    app.backend.status.tile_notice_waiting = true;
    return;
  }
  if (app.backend.status.service && app.backend.status.service != Service::Tiles) return;
  const base::Error error =
      app.backend.tiles.last_failure.value_or(base::err(base::ErrorKind::Other, "a map tile could not be loaded"));
  app.report_failure("Some map tiles could not be loaded: ", Service::Tiles, error);
  app.backend.status.tile_failure_told = true;
}

}  // namespace maps::tick_steps

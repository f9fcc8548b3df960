// The view-idle deadline, compared against its own reading of the state's clock and cleared
// before its work runs, and the box arithmetic of the points of interest.

#include <algorithm>
#include <optional>
#include <string>

#include "app/tick_steps.hpp"
#include "transitions/view.hpp"

namespace maps::tick_steps {

GeoBox widened_poi_box(const GeoBox& v) {
  const double dlat = kPoiBoxWidening * (v.max_lat - v.min_lat);
  const double dlon = kPoiBoxWidening * (v.max_lon - v.min_lon);
  const double lat_a = v.min_lat - dlat;
  const double lat_b = v.max_lat + dlat;
  const double lon_a = v.min_lon - dlon;
  const double lon_b = v.max_lon + dlon;
  return {std::min(lat_a, lat_b), std::min(lon_a, lon_b), std::max(lat_a, lat_b), std::max(lon_a, lon_b)};
}

bool box_contains(const GeoBox& outer, const GeoBox& inner) {
  return outer.min_lat <= inner.min_lat && outer.min_lon <= inner.min_lon && outer.max_lat >= inner.max_lat &&
         outer.max_lon >= inner.max_lon;
}

void fire_view_idle_deadline(MapsApp& app) {
  const base::MonoTime now = app.backend.now();
  if (!base::take_due(app.backend.view_pois.idle_deadline, now)) return;
  const Rect& b = app.bounds_rect;
  // Not laid out yet: ask again later. A width that is not a number counts as not laid out.
  if (!(b.x1 - b.x0 > kMinMapWidth)) {
    app.backend.view_pois.idle_deadline = now + kViewIdleDelay;
    return;
  }
  if (app.model.zoom < kPoiMinZoom) {
    app.backend.view_pois.pois.clear();
    app.backend.view_pois.box.reset();
    return;
  }
  const GeoBox visible = visible_bounds(b, app.model.center, app.model.zoom);
  if (app.backend.view_pois.box && box_contains(*app.backend.view_pois.box, visible)) return;
  app.backend.view_pois.box = widened_poi_box(visible);
  ++app.backend.view_pois.generation;
  const GeoBox& box = *app.backend.view_pois.box;
  // "Loading places…" only while the window waits for them (a demonstration state asks nothing).
  if (app.backend.start(PoiJob{box.min_lat, box.min_lon, box.max_lat, box.max_lon, app.backend.view_pois.generation})) {
    app.set_status("Loading places\u2026", StatusKind::LoadingPlaces);
  }
}

}  // namespace maps::tick_steps

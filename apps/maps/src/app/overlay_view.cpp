#include "app/overlay_view.hpp"

#include "app/maps_app.hpp"
#include "geo/screen_view.hpp"
#include "tiles/tile_store.hpp"
#include "transitions/locating.hpp"
#include "transitions/traffic.hpp"
#include "transitions/view.hpp"

namespace maps {

OverlayInputs overlay_inputs(const MapsApp& app) {
  return {.bounds = app.bounds_rect,
          .drawn_bounds = app.drawn_bounds,
          .side_panel = app.panel,
          .traffic = app.backend.traffic,
          .status = app.model.status,
          .status_kind = app.backend.status.kind,
          .jobs_pending = app.backend.pending_jobs > 0,
          .search_suggestions_showing = app.search_box.suggestions_showing(app.model.query),
          .panel_header_room = app.side_panel.header_room(),
          .selected_poi = app.selected_poi,
          .pois = app.backend.view_pois.pois,
          .menu_open = app.overflow_menu.is_open(),
          .downloading = download_in_progress(app.backend.tiles)};
}

void handle_map_control(MapsApp& app, MapControl control) {
  const zarn_ui::Point c = map_viewport_center(app.bounds_rect);
  switch (control) {
    case MapControl::ZoomIn: zoom_map_at(app.session(), 1.0, c.x, c.y); break;
    case MapControl::ZoomOut: zoom_map_at(app.session(), -1.0, c.x, c.y); break;
    case MapControl::Locate: start_locating(app.session()); break;
    case MapControl::Traffic: set_traffic_enabled(app.session(), !app.backend.traffic.enabled); break;
    case MapControl::None: break;
  }
}

}  // namespace maps

#include "app/maps_app.hpp"

namespace maps {
std::vector<std::string> MapsApp::action_names() const {
  return {"maps.locate",     "maps.search",   "maps.toggle-traffic", "maps.open-place",
          "maps.directions", "maps.open-poi", "maps.directions-poi"};
}

bool MapsApp::has_pending_work() const {
  return pending_jobs != 0 || !doc_initialised || location_pending || location_receiver.has_value() ||
         view_idle_deadline.has_value() || tiles_in_flight(tile_store) || download_in_progress(tile_store);
}

bool MapsApp::needs_frame() const {
  if (pending_jobs != 0 || search_open || search_deadline || endpoint_deadline || view_idle_deadline ||
      active_endpoint != 2 || location_pending || location_receiver.has_value() || tiles_in_flight(tile_store) ||
      download_in_progress(tile_store) || navigation_placement.drag.has_value()) {
    return true;
  }
  if (!reduce_motion && navigation_placement.is_handoff_animating()) return true;
  return tooltips.in_progress();
}

bool MapsApp::has_armed_timer() const { return area_search_deadline.has_value(); }

std::optional<Rect> MapsApp::modal_rect() const {
  // The open dialog's rectangle arrives with the dialog's own work.
  // The offline panel's scrim is the first entry its painter records.
  if (offline_open && !offline_hits.empty()) return offline_hits.front().rect;
  return std::nullopt;
}

}  // namespace maps

// The frame predicates the window loop asks every frame, and the window's modal area.

#include "app/maps_app.hpp"

namespace maps {

bool MapsApp::has_pending_work() const {
  return pending_jobs != 0 || !doc_initialised || location_pending || location_receiver.has_value() ||
         view_idle_deadline.has_value() || tiles_in_flight(tile_store) || download_in_progress(tile_store);
}

bool MapsApp::needs_frame() const {
  if (pending_jobs != 0 || search_box.is_open() || search_box.deadline() || endpoint_editor.deadline() ||
      view_idle_deadline || endpoint_editor.editing() || location_pending || location_receiver.has_value() ||
      tiles_in_flight(tile_store) || download_in_progress(tile_store) || navigation.dragging()) {
    return true;
  }
  if (navigation.animating(reduce_motion)) return true;
  return overlay.tooltip_in_progress();
}

bool MapsApp::has_armed_timer() const { return offline_panel.deadline().has_value(); }

std::optional<Rect> MapsApp::modal_rect() const { return offline_panel.modal_rect(); }

}  // namespace maps

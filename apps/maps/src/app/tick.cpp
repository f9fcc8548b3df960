#include "app/maps_app.hpp"
#include "app/offline_panel_view.hpp"
#include "app/tick_steps.hpp"
#include "directions/endpoint_tick.hpp"
#include "search_box/search_box_tick.hpp"
#include "transitions/commit.hpp"
#include "transitions/plans.hpp"

namespace maps {

// The only place where background answers enter the state, timers fire and the state meets
// the document. Nothing here waits.
void MapsApp::tick(zarn_ui::state::State& state) {
  tick_steps::expire_failure_status(*this);
  tick_steps::drain_worker_results(*this, state);
  tick_steps::poll_location_outcome(*this);
  fire_search_deadline(*this);
  tick_steps::fire_view_idle_deadline(*this);
  send_waiting_journey_request(session());
  fire_area_search_deadline(*this, state);
  tick_steps::apply_tile_results(*this);
  tick_steps::report_tile_failures(*this);
  sync_document(model, transient, commits, state);
  sync_endpoint_texts(*this);
  fire_endpoint_deadline(*this);
}

}  // namespace maps

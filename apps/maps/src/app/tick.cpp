#include "app/maps_app.hpp"
#include "app/tick_steps.hpp"
#include "app/transitions_later.hpp"

namespace maps {

// The only place where background answers enter the state, timers fire and the state meets
// the document. Nothing here waits.
void MapsApp::tick(zarn_ui::state::State& state) {
  tick_steps::drain_worker_results(*this, state);
  tick_steps::poll_location_outcome(*this);
  tick_steps::fire_search_deadline(*this);
  tick_steps::fire_view_idle_deadline(*this);
  tick_steps::fire_area_search_deadline(*this);
  tick_steps::apply_tile_results(*this);
  tick_steps::sync_document(*this, state);
  set_endpoint_texts(*this, model.origin_query, model.dest_query);
  tick_steps::fire_endpoint_deadline(*this);
}

}  // namespace maps

#include "search_box/search_box_tick.hpp"

#include <string>

#include "app/maps_app.hpp"
#include "base/text.hpp"

namespace maps {

void fire_search_deadline(MapsApp& app) {
  if (!app.search_box.take_due_deadline(app.mono_now())) return;
  const std::string query(base::trim_white_space(app.model.query));
  if (query.empty()) return;
  // Raised in every state; a state that is not live starts no job and keeps them raised.
  ++app.pending_jobs;
  app.set_status("Searching\u2026", StatusKind::InProgress);
  if (app.live) app.job_spawner->spawn_place_search(PlaceSearchJob{query});
}

}  // namespace maps

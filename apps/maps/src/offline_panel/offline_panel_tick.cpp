#include "offline_panel/offline_panel_tick.hpp"

#include <utility>

#include "app/maps_app.hpp"

namespace maps {

void fire_area_search_deadline(MapsApp& app) {
  const auto query = app.offline_panel.take_due_query(app.mono_now());
  if (!query) return;
  ++app.pending_jobs;
  if (app.live) app.job_spawner->spawn_area_search(AreaSearchJob{*query});
}

void on_area_search(MapsApp& app, worker::AreaSearch result) {
  app.offline_panel.apply_area_search(result.query, std::move(result.result));
}

}  // namespace maps

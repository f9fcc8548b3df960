#include "offline_panel/offline_panel_tick.hpp"

#include <utility>

#include <fmt/format.h>

#include "app/maps_app.hpp"
#include "zarn_ui/format.hpp"

namespace maps {

void fire_area_search_deadline(MapsApp& app) {
  const auto query = app.offline_panel.take_due_query(app.backend.now());
  if (!query) return;
  app.backend.start(AreaSearchJob{*query});
}

void on_area_search(MapsApp& app, worker::AreaSearch result) {
  app.offline_panel.apply_area_search(result.query, std::move(result.result));
}

void apply_offline_cache_jobs(MapsApp& app) {
  for (const TileCacheDone& done : take_finished_cache_jobs(app.backend.tiles)) {
    if (done.usage) app.offline_panel.set_disk_usage(*done.usage);
    const auto work = app.offline_panel.take_cache_work(done.id);
    if (!work) continue;
    const std::string freed = zarn_ui::format::bytes(done.freed);
    std::string report = work->report == OfflineCacheWork::Report::RegionRemoved
                             ? fmt::format("Removed \u201c{}\u201d \u00b7 {} freed", work->region_name, freed)
                             : fmt::format("Cleared {} of offline tiles", freed);
    app.offline_panel.set_cache_report(report);
    app.set_status(std::move(report));
  }
}

}  // namespace maps

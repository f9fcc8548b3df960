#include "offline_panel/offline_panel_input.hpp"

#include <algorithm>
#include <variant>

#include <fmt/format.h>

#include "app/maps_app.hpp"
#include "geo/screen_view.hpp"
#include "offline_panel/offline_area.hpp"
#include "offline_panel/offline_panel_tick.hpp"
#include "tiles/tile_geometry.hpp"
#include "transitions/commit.hpp"
#include "zarn_ui/system_clipboard.hpp"

namespace maps {

namespace {

void download(MapsApp& app, zarn_ui::state::State& state) {
  const GeoBox visible = visible_bounds(app.bounds_rect, app.model.center, app.model.zoom);
  const OfflineDownloadArea area =
      offline_download_area(app.offline_panel, visible, download_zoom(app.model.zoom), app.bounds_rect);
  const GeoBox& b = area.box;
  const std::uint32_t n = enqueue_region_download(
      app.backend.tiles, TileBox{{b.min_lat, b.min_lon}, {b.max_lat, b.max_lon}}, area.z0, area.z1);
  DownloadedRegion region{download_region_id(area),
                          download_region_name(area, app.model.places),
                          {b.min_lat, b.min_lon},
                          {b.max_lat, b.max_lon},
                          area.z0,
                          area.z1,
                          n};
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::AddRegion{std::move(region)}});
  app.offline_panel.set_cache_report(std::nullopt);
  app.set_status(area.name ? fmt::format("Downloading {} tiles for {}\u2026", n, *area.name)
                           : fmt::format("Downloading {} tiles for offline use\u2026", n),
                 StatusKind::Downloading);
}

// The area leaves the list at once; its files go on the tile worker, and the status tells what
// they freed once they are gone.
void delete_region(MapsApp& app, zarn_ui::state::State& state, const std::string& id) {
  const auto& regions = app.model.regions;
  auto it = std::find_if(regions.begin(), regions.end(), [&](const DownloadedRegion& r) { return r.id == id; });
  if (it == regions.end()) return;
  const DownloadedRegion doomed = *it;
  // A tile that another region covers too stays on disk. Each region is a few spans, however
  // many tiles it holds.
  std::vector<TileSpan> keep;
  for (const DownloadedRegion& other : regions) {
    if (other.id == id) continue;
    const std::vector<TileSpan> spans = area_spans(other);
    keep.insert(keep.end(), spans.begin(), spans.end());
  }
  const std::uint64_t job = start_tile_delete(app.backend.tiles, area_spans(doomed), std::move(keep));
  app.offline_panel.expect_cache_job({job, OfflineCacheWork::Report::RegionRemoved, doomed.name});
  app.offline_panel.set_cache_report(fmt::format("Removing \u201c{}\u201d\u2026", doomed.name));
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::DeleteRegion{id}});
  // A store without worker has answered already.
  apply_offline_cache_jobs(app);
}

void clear_cache(MapsApp& app, zarn_ui::state::State& state) {
  const std::uint64_t job = start_cache_clear(app.backend.tiles);
  app.offline_panel.expect_cache_job({job, OfflineCacheWork::Report::CacheCleared, {}});
  app.offline_panel.set_cache_report("Clearing offline tiles\u2026");
  commit_action(app.model, app.transient, app.commits, state, MapsAction{MapsAction::ClearRegions{}});
  apply_offline_cache_jobs(app);
}

}  // namespace

void open_offline_panel(MapsApp& app) {
  app.offline_panel.begin_area_search(app.offline_panel.disk_usage());
  start_disk_measure(app.backend.tiles);
  // A store without worker has answered already.
  apply_offline_cache_jobs(app);
}

void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& state) {
  std::visit(
      [&](const auto& c) {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, OfflineCommand::Close>) {
          app.offline_panel.end_area_search();
        } else if constexpr (std::is_same_v<C, OfflineCommand::Zoom>) {
          app.offline_panel.change_download_detail(c.delta);
        } else if constexpr (std::is_same_v<C, OfflineCommand::Download>) {
          download(app, state);
        } else if constexpr (std::is_same_v<C, OfflineCommand::DeleteRegion>) {
          delete_region(app, state, c.id);
        } else if constexpr (std::is_same_v<C, OfflineCommand::ClearCache>) {
          clear_cache(app, state);
        }
        // FocusSearch: the panel's empty parts take the press and do nothing.
      },
      command.value);
}

bool offline_area_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale) {
  const zarn_ui::widgets::EventCtx ctx{modifiers, scale, &zarn_ui::launch::system_clipboard()};
  return app.offline_panel.area_search_event(event, ctx, app.backend.now());
}

bool offline_panel_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                         zarn_ui::state::State& state, double scale, zarn_ui::Point p) {
  if (offline_area_event(app, event, modifiers, scale)) return true;
  const auto& hits = app.offline_panel.hits();
  for (auto it = hits.rbegin(); it != hits.rend(); ++it) {
    if (!rect_contains_point(it->rect, p.x, p.y)) continue;
    const OfflineCommand command = it->command;  // the command may drop the list
    offline_panel_action(app, command, state);
    return true;
  }
  return false;
}

}  // namespace maps

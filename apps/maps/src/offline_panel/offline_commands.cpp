#include "offline_panel/offline_commands.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <fmt/format.h>

#include "format/labels.hpp"
#include "geo/screen_view.hpp"
#include "offline_panel/offline_area.hpp"
#include "tiles/tile_geometry.hpp"
#include "zarn_ui/format.hpp"

namespace maps {

namespace {

void download(OfflinePanel& panel, Session& s, zarn_ui::state::State& state) {
  const GeoBox visible = visible_bounds(s.bounds, s.model.center, s.model.zoom);
  const OfflineDownloadArea area = offline_download_area(panel, visible, download_zoom(s.model.zoom), s.bounds);
  const GeoBox& b = area.box;
  const std::uint32_t n = enqueue_region_download(
      s.backend.tiles, TileBox{{b.min_lat, b.min_lon}, {b.max_lat, b.max_lon}}, area.z0, area.z1);
  DownloadedRegion region{download_region_id(area),
                          download_region_name(area, s.model.places),
                          {b.min_lat, b.min_lon},
                          {b.max_lat, b.max_lon},
                          area.z0,
                          area.z1,
                          n};
  s.commit(state, MapsAction{MapsAction::AddRegion{std::move(region)}});
  panel.set_cache_report(std::nullopt);
  const std::string tiles = counted(n, "tile", "tiles");
  s.set_status(area.name ? fmt::format("Downloading {} for {}\u2026", tiles, *area.name)
                         : fmt::format("Downloading {} for offline use\u2026", tiles),
               StatusKind::Downloading);
}

// The area leaves the list at once; its files go on the tile worker, and the status tells what
// they freed once they are gone.
void delete_region(OfflinePanel& panel, Session& s, zarn_ui::state::State& state, const std::string& id) {
  const auto& regions = s.model.regions;
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
  const std::uint64_t job = start_tile_delete(s.backend.tiles, area_spans(doomed), std::move(keep));
  panel.expect_cache_job({job, OfflineCacheWork::Report::RegionRemoved, doomed.name});
  panel.set_cache_report(fmt::format("Removing \u201c{}\u201d\u2026", doomed.name));
  s.commit(state, MapsAction{MapsAction::DeleteRegion{id}});
  // A store without worker has answered already.
  apply_offline_cache_jobs(panel, s);
}

void clear_cache(OfflinePanel& panel, Session& s, zarn_ui::state::State& state) {
  const std::uint64_t job = start_cache_clear(s.backend.tiles);
  panel.expect_cache_job({job, OfflineCacheWork::Report::CacheCleared, {}});
  panel.set_cache_report("Clearing offline tiles\u2026");
  s.commit(state, MapsAction{MapsAction::ClearRegions{}});
  apply_offline_cache_jobs(panel, s);
}

}  // namespace

void open_offline_panel(OfflinePanel& panel, Session& s) {
  panel.begin_area_search(panel.disk_usage());
  start_disk_measure(s.backend.tiles);
  // A store without worker has answered already.
  apply_offline_cache_jobs(panel, s);
}

void offline_panel_command(OfflinePanel& panel, Session& s, zarn_ui::state::State& state,
                           const OfflineCommand& command) {
  std::visit(
      [&](const auto& c) {
        using C = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<C, OfflineCommand::Close>) {
          panel.end_area_search();
        } else if constexpr (std::is_same_v<C, OfflineCommand::Zoom>) {
          panel.change_download_detail(c.delta);
        } else if constexpr (std::is_same_v<C, OfflineCommand::Download>) {
          download(panel, s, state);
        } else if constexpr (std::is_same_v<C, OfflineCommand::DeleteRegion>) {
          delete_region(panel, s, state, c.id);
        } else if constexpr (std::is_same_v<C, OfflineCommand::ClearCache>) {
          clear_cache(panel, s, state);
        }
        // FocusSearch: the panel's empty parts take the press and do nothing.
      },
      command.value);
}

void apply_offline_cache_jobs(OfflinePanel& panel, Session& s) {
  for (const TileCacheDone& done : take_finished_cache_jobs(s.backend.tiles)) {
    if (done.usage) panel.set_disk_usage(*done.usage);
    const auto work = panel.take_cache_work(done.id);
    if (!work) continue;
    const std::string freed = zarn_ui::format::bytes(done.freed);
    std::string report = work->report == OfflineCacheWork::Report::RegionRemoved
                             ? fmt::format("Removed \u201c{}\u201d \u00b7 {} freed", work->region_name, freed)
                             : fmt::format("Cleared {} of offline tiles", freed);
    panel.set_cache_report(report);
    s.set_status(std::move(report));
  }
}

}  // namespace maps

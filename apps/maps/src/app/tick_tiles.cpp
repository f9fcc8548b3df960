// Tile answers, once per tick: a finished region download and the offline panel's cache jobs.

#include <string>

#include <fmt/format.h>

#include "app/offline_panel_view.hpp"
#include "app/tick_steps.hpp"
#include "format/labels.hpp"

namespace maps::tick_steps {

namespace {

void report_finished_download(MapsApp& app, bool changed) {
  const TileStore& tiles = app.backend.tiles;
  if (tiles.download_total < 1 || tiles.download_done < tiles.download_total) return;
  // A download can also end before any frame sees it (a store without worker answers at once);
  // its status is reported all the same instead of telling of a download forever.
  const bool report = app.backend.status.kind == StatusKind::Downloading;
  if (!changed && !report) return;
  // The worker measures the cache after the download's last file; the size comes as a cache
  // job's answer.
  start_disk_measure(app.backend.tiles);
  if (!report) return;
  // A partial download says so instead of reporting the area ready.
  if (tiles.download_failed > 0) {
    app.set_status(
        fmt::format("Offline area incomplete ({} of {} tiles failed)", tiles.download_failed, tiles.download_total),
        StatusKind::Failure);
  } else {
    app.set_status(fmt::format("Offline area ready ({})", counted(tiles.download_total, "tile", "tiles")));
  }
}

}  // namespace

void apply_tile_results(MapsApp& app) {
  TileStore& tiles = app.backend.tiles;
  const std::uint32_t total = tiles.download_total;
  const std::uint32_t done = tiles.download_done;
  const std::uint32_t failed = tiles.download_failed;
  pump_tile_results(tiles);
  const bool changed = total != tiles.download_total || done != tiles.download_done || failed != tiles.download_failed;
  report_finished_download(app, changed);
  apply_offline_cache_jobs(app);
}

}  // namespace maps::tick_steps

// Tile answers, and the state meeting the persisted document, once per tick.

#include <string>

#include <fmt/format.h>

#include "app/tick_steps.hpp"
#include "doc/readers.hpp"
#include "doc/writers.hpp"
#include "offline_panel/offline_panel_tick.hpp"

namespace maps::tick_steps {

namespace {

void report_finished_download(MapsApp& app, bool changed) {
  const TileStore& tiles = app.tile_store;
  if (tiles.download_total < 1 || tiles.download_done < tiles.download_total) return;
  // A download can also end before any frame sees it (a store without worker answers at once);
  // its status is reported all the same instead of telling of a download forever.
  const bool report = app.status_kind == StatusKind::Downloading;
  if (!changed && !report) return;
  // The worker measures the cache after the download's last file; the size comes as a cache
  // job's answer.
  start_disk_measure(app.tile_store);
  if (!report) return;
  // A partial download says so instead of reporting the area ready.
  if (tiles.download_failed > 0) {
    app.set_status(
        fmt::format("Offline area incomplete ({} of {} tiles failed)", tiles.download_failed, tiles.download_total));
  } else {
    app.set_status(fmt::format("Offline area ready ({} tiles)", tiles.download_total));
  }
}

}  // namespace

void apply_tile_results(MapsApp& app) {
  TileStore& tiles = app.tile_store;
  const std::uint32_t total = tiles.download_total;
  const std::uint32_t done = tiles.download_done;
  const std::uint32_t failed = tiles.download_failed;
  pump_tile_results(tiles);
  const bool changed = total != tiles.download_total || done != tiles.download_done || failed != tiles.download_failed;
  report_finished_download(app, changed);
  apply_offline_cache_jobs(app);
}

void sync_document(MapsApp& app, zarn_ui::state::State& state) {
  automerge::AutoCommit& document = state.doc();
  if (!app.doc_initialised) {
    app.doc_initialised = true;
    if (!doc::load_map_model(document)) {
      // A document without a model takes the whole current model.
      doc::save_map_model(document, app.model);
      return;
    }
    // A model read from the older "maps" entry is carried into "maps_v2" before any action
    // writes there, so its places, recents, regions and plans are not lost.
    doc::carry_older_model(document);
  }
  hydrate_if_moved(app, document);
}

void hydrate_if_moved(MapsApp& app, const automerge::AutoCommit& document) {
  automerge::AutoCommit::Mark mark = document.mark();
  // Unmoved, the document holds what the model read last, and the held transient values are
  // still laid over it.
  if (app.hydrated_at == mark) return;
  if (doc::hydrate_state(document, app.model)) app.transient.apply(app.model);
  app.hydrated_at = std::move(mark);
}

}  // namespace maps::tick_steps

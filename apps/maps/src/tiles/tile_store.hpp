#pragma once
// The UI thread's side of the raster map: the decoded tiles in memory (at most 512, and no
// more pixels than 512 usual tiles; least recently used go first), requests to the tile
// worker that never wait, back-off from failed tiles, offline-region downloads, and
// measuring, deleting and clearing the disk cache (on the worker, which owns the folder; or at
// once in a store without worker).

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/channel.hpp"
#include "base/result.hpp"
#include "tiles/tile_geometry.hpp"
#include "tiles/tile_key.hpp"
#include "tiles/tile_messages.hpp"
#include "tiles/tile_worker_settings.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

inline constexpr const char* kDefaultTileHost = "https://basemaps.cartocdn.com";
inline constexpr std::chrono::seconds kFirstTileBackoff{2};
inline constexpr std::chrono::seconds kMaxTileBackoff{300};

using TileClock = std::chrono::steady_clock;

struct TileBackoff {
  TileClock::time_point next_retry;  // not asked for again before this
  TileClock::duration delay{};       // the last waiting time
  bool operator==(const TileBackoff&) const = default;
};

struct TileStore {
  std::optional<base::Sender<TileRequest>> request;  // absent: no worker, nothing is ever loaded
  std::optional<base::Receiver<TileResult>> result;  // absent together with `request`
  std::deque<TileKey> lru;                           // least (front) to most (back) recently used
  std::filesystem::path style_dir;                   // root/"light" or root/"dark"
  std::optional<std::filesystem::path> root;         // absent in a store without worker
  std::unordered_map<TileKey, zarn_ui::Image> decoded;
  std::unordered_set<TileKey> pending;     // asked for with Display, not answered yet
  std::unordered_set<TileKey> prefetched;  // asked for with Prefetch (forgotten when it grows large)
  std::size_t prefetches_outstanding = 0;  // Prefetch requests the worker has not answered yet
  std::unordered_map<TileKey, TileBackoff> failures;
  std::optional<base::Error> last_failure;  // why the latest tile that failed did (kind and text)
  std::uint32_t download_total = 0;
  std::uint32_t download_done = 0;
  std::uint32_t download_failed = 0;
  bool dark = false;
  // The worker found that the tile host does not answer (and has not answered since).
  bool host_failing = false;

  std::string host = kDefaultTileHost;  // the styles' bases are host + "/light_nolabels" etc.
  TileWorkerSettings worker_settings;   // for every worker this store starts
  // Tiles of the running download not answered yet, in the order they were asked for; a
  // style switch hands them to the new worker.
  std::vector<TileKey> download_keys;
  std::unordered_set<TileKey> download_outstanding;
  std::vector<TileSpan> download_spans;  // the running download's region
  // Cache jobs sent and not answered yet, in the order sent; a style switch hands them to the
  // new worker.
  std::vector<std::shared_ptr<const TileCacheJob>> cache_jobs;
  std::uint64_t last_cache_job = 0;
  // Answers of cache jobs not taken yet (take_finished_cache_jobs).
  std::vector<TileCacheDone> cache_done;
  std::function<TileClock::time_point()> now = [] { return TileClock::now(); };
  // Called by the worker after each answer (see set_tile_waker); empty: nobody is told.
  std::function<void()> waker;
};

std::string tile_style_base(const std::string& host, bool dark);

TileStore open_tile_store();
// A store without worker and without a folder: nothing is loaded, nothing on disk is read,
// deleted or measured. Demonstration states use it, so they never touch the user's cache.
TileStore new_memory_tile_store();
TileStore new_tile_store(const std::filesystem::path& root, const std::string& host = kDefaultTileHost,
                         const TileWorkerSettings& worker_settings = {});
TileStore new_offline_tile_store(const std::filesystem::path& dir);

void set_tile_style(TileStore& store, bool dark);
// Gives the function that wakes the window loop to this store's worker and every later one.
void set_tile_waker(TileStore& store, std::function<void()> waker);

void request_tile(TileStore& store, const TileKey& key);
// The tiles the view misses now, asked for once a frame: tiles still waiting for a transfer that
// the view no longer needs are dropped from the worker's queue (and are no longer pending).
void request_view_tiles(TileStore& store, const std::vector<TileKey>& keys);
// The tiles just outside the view, each asked for once: the worker fetches those missing from the
// disk cache into it, so a pan finds them there. Nothing is decoded or kept in memory for them.
void prefetch_tiles(TileStore& store, const std::vector<TileKey>& keys);
// A lookup for painting counts as a use.
const zarn_ui::Image* loaded_tile(TileStore& store, const TileKey& key);
// The nearest loaded tile 1 to 8 levels up, and how many levels up it is.
std::optional<std::pair<TileKey, int>> find_loaded_ancestor(TileStore& store, const TileKey& key);
std::optional<zarn_ui::Image> tile_image_handle(const zarn_ui::Image* image);
void touch_tile(TileStore& store, const TileKey& key);
// Applies every answer the worker has sent so far; never waits.
void pump_tile_results(TileStore& store);

// Returns the number of tiles asked for and restarts the download counters.
std::uint32_t enqueue_region_download(TileStore& store, const TileBox& box, std::uint8_t z0, std::uint8_t z1);
// The same work done on the calling thread, walking the folder there. Bytes freed.
std::uint64_t delete_region_tiles(TileStore& store, const std::vector<TileKey>& keys);
std::uint64_t clear_tile_cache(TileStore& store);
std::uint64_t tile_disk_usage(const TileStore& store);

// The cache jobs: each returns the job's id at once; its TileCacheDone (bytes freed, bytes on
// disk after it) comes through pump_tile_results into `cache_done`. The worker does them in the
// order sent, and tiles asked for after a job are looked up only once it is done. A store
// without worker does the job on the spot (nothing at all without a folder).
//
// The tiles of `doomed` that no span of `keep` holds leave memory at once and the disk with the
// job. When the running download is of `doomed` itself, it ends here.
std::uint64_t start_tile_delete(TileStore& store, std::vector<TileSpan> doomed, std::vector<TileSpan> keep);
// Memory and the download counters are emptied at once (the running download ends); the
// folder (the root, both styles, when known) goes with the job.
std::uint64_t start_cache_clear(TileStore& store);
std::uint64_t start_disk_measure(TileStore& store);
// The answers that came, in the order sent.
std::vector<TileCacheDone> take_finished_cache_jobs(TileStore& store);
bool cache_jobs_running(const TileStore& store);

// Tiles around the view asked for and not answered yet.
bool prefetches_in_flight(const TileStore& store);
// Display tiles or cache jobs not answered yet.
bool tiles_in_flight(const TileStore& store);
bool download_in_progress(const TileStore& store);
bool has_failed_tiles(const TileStore& store);
// The tile host does not answer: its tiles fail at once until it does again.
bool tile_host_failing(const TileStore& store);
// The tile's last request failed (it may be asked for again meanwhile).
bool tile_has_failed(const TileStore& store, const TileKey& key);

}  // namespace maps

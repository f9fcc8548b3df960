#include "tiles/tile_store.hpp"

#include <algorithm>
#include <system_error>
#include <type_traits>

#include "tiles/tile_cache_job.hpp"
#include "tiles/tile_disk.hpp"
#include "tiles/tile_worker.hpp"

namespace maps {

namespace fs = std::filesystem;

std::string tile_style_base(const std::string& host, bool dark) {
  return host + (dark ? "/dark_nolabels" : "/light_nolabels");
}

namespace {

// Tiles around the view remembered as asked for; a pan across a country asks for a few hundred.
constexpr std::size_t kMaxPrefetchedKept = 4096;

void attach_worker(TileStore& store) {
  // The answers first: the old worker, woken by its request channel closing, then finds nobody
  // to answer and ends.
  store.result.reset();
  store.request.reset();
  auto channels = spawn_tile_worker(store.style_dir, tile_style_base(store.host, store.dark), store.worker_settings);
  if (channels) {
    store.request = std::move(channels->request);
    store.result = std::move(channels->result);
    if (store.waker) store.result->set_waker(store.waker);
  } else {
    store.request.reset();
    store.result.reset();
  }
}

void clear_memory(TileStore& store) {
  store.decoded.clear();
  store.lru.clear();
  store.pending.clear();
  store.prefetched.clear();
  store.prefetches_outstanding = 0;  // the old worker's answers never come
  store.failures.clear();
}

void finish_download_tile(TileStore& store, const TileKey& key, bool ok) {
  if (store.download_outstanding.erase(key) == 0) return;  // not part of the running download
  ++store.download_done;
  if (!ok) ++store.download_failed;
  if (store.download_outstanding.empty()) store.download_keys.clear();
}

void record_failure(TileStore& store, const TileKey& key, base::Error error, TileClock::time_point now) {
  store.pending.erase(key);
  store.last_failure = std::move(error);
  TileClock::duration delay = kFirstTileBackoff;
  if (auto it = store.failures.find(key); it != store.failures.end()) {
    delay = it->second.delay >= kMaxTileBackoff / 2 ? TileClock::duration(kMaxTileBackoff) : it->second.delay * 2;
  }
  store.failures[key] = TileBackoff{now + delay, delay};
  if (store.failures.size() > kMaxFailureEntries) {
    std::erase_if(store.failures, [now](const auto& entry) { return entry.second.next_retry <= now; });
    if (store.failures.size() > kMaxFailureEntries) store.failures.clear();
  }
}

std::size_t pixel_count(const zarn_ui::Image& image) { return std::size_t{image.width()} * image.height(); }

void record_loaded(TileStore& store, const TileKey& key, zarn_ui::Image image) {
  store.pending.erase(key);
  store.failures.erase(key);
  if (image.empty()) return;  // a tile without pixels is dropped
  auto [it, inserted] = store.decoded.insert_or_assign(key, std::move(image));
  (void)it;
  if (inserted) {
    store.lru.push_back(key);
  } else {
    touch_tile(store, key);
  }
  std::size_t pixels = 0;
  for (const auto& [k, held] : store.decoded) pixels += pixel_count(held);
  while ((store.decoded.size() > kMaxDecodedTiles || pixels > kMaxDecodedPixels) && !store.lru.empty()) {
    if (auto old = store.decoded.find(store.lru.front()); old != store.decoded.end()) {
      pixels -= pixel_count(old->second);
      store.decoded.erase(old);
    }
    store.lru.pop_front();
  }
}

void finish_cache_job(TileStore& store, const TileCacheDone& done) {
  auto it = std::find_if(store.cache_jobs.begin(), store.cache_jobs.end(),
                         [&](const auto& job) { return job->id == done.id; });
  if (it == store.cache_jobs.end()) return;  // not asked of this store
  store.cache_jobs.erase(it);
  store.cache_done.push_back(done);
}

// Carries out the job here: for a store without worker, and for the jobs of a worker that ended.
void run_here(TileStore& store, const std::shared_ptr<const TileCacheJob>& job) {
  TileCacheDone done{job->id, job->kind, 0, 0};
  try {
    done = run_cache_job(job);
  } catch (...) {
    // Out of memory while walking the folder: nothing freed is known.
  }
  finish_cache_job(store, done);
}

// The worker ended on its own: nothing asked of it will be answered, so nothing may stay
// pending (the frame loop would keep running for it), the download ends with its unanswered
// tiles failed, and its cache jobs are done here.
void drop_worker(TileStore& store) {
  store.request.reset();
  store.result.reset();
  store.pending.clear();
  store.prefetches_outstanding = 0;
  for (const TileKey& key : std::vector<TileKey>(store.download_keys)) finish_download_tile(store, key, false);
  for (const auto& job : std::vector(store.cache_jobs)) run_here(store, job);
}

// A store without a folder keeps nothing on disk (an empty path would name the working folder).
bool has_disk(const TileStore& store) { return store.root.has_value() || !store.style_dir.empty(); }

constexpr const char* kStyleNames[] = {"light", "dark"};

fs::path style_dir_of(const fs::path& root, bool dark) { return root / kStyleNames[dark ? 1 : 0]; }

// The folders a tile may lie in: every style's under a root, else the one folder.
std::vector<fs::path> style_dirs(const TileStore& store) {
  if (store.root) return {style_dir_of(*store.root, false), style_dir_of(*store.root, true)};
  if (store.style_dir.empty()) return {};
  return {store.style_dir};
}

}  // namespace

TileStore open_tile_store() { return new_tile_store(tile_cache_root()); }

TileStore new_memory_tile_store() { return TileStore{}; }

TileStore new_tile_store(const fs::path& root, const std::string& host, const TileWorkerSettings& worker_settings) {
  TileStore store;
  store.host = host;
  store.worker_settings = worker_settings;
  store.root = root;
  store.style_dir = style_dir_of(root, false);
  store.dark = false;
  attach_worker(store);
  return store;
}

TileStore new_offline_tile_store(const fs::path& dir) {
  TileStore store;
  store.style_dir = dir;
  return store;
}

void set_tile_waker(TileStore& store, std::function<void()> waker) {
  store.waker = std::move(waker);
  if (store.result) store.result->set_waker(store.waker);
}

void set_tile_style(TileStore& store, bool dark) {
  if (dark == store.dark) return;
  store.dark = dark;
  if (store.root) store.style_dir = style_dir_of(*store.root, dark);
  clear_memory(store);
  if (!store.request) return;
  // Dropping the old channels ends the old worker.
  attach_worker(store);
  // Cache jobs first, as they were sent before every download tile still outstanding; each job
  // names its own folders.
  for (const auto& job : std::vector(store.cache_jobs)) {
    if (!store.request || !store.request->send(TileRequest{job})) run_here(store, job);
  }
  // The rest of a running download goes to the new worker rather than being lost.
  for (const TileKey& key : std::vector<TileKey>(store.download_keys)) {
    if (!store.download_outstanding.contains(key)) continue;
    if (!store.request || !store.request->send(TileRequest{TileRequestKind::Download, key})) {
      finish_download_tile(store, key, false);
    }
  }
}

void request_tile(TileStore& store, const TileKey& key) {
  if (store.decoded.contains(key) || store.pending.contains(key)) return;
  if (auto it = store.failures.find(key); it != store.failures.end() && it->second.next_retry > store.now()) return;
  if (!store.request) return;
  if (store.request->send(TileRequest{TileRequestKind::Display, key})) store.pending.insert(key);
}

void request_view_tiles(TileStore& store, const std::vector<TileKey>& keys) {
  if (!store.pending.empty()) {
    const std::unordered_set<TileKey> wanted(keys.begin(), keys.end());
    for (auto it = store.pending.begin(); it != store.pending.end();) {
      if (wanted.contains(*it) || !store.request) {
        ++it;
        continue;
      }
      (void)store.request->send(TileRequest{TileRequestKind::Cancel, *it});
      it = store.pending.erase(it);
    }
  }
  for (const TileKey& key : keys) request_tile(store, key);
}

void prefetch_tiles(TileStore& store, const std::vector<TileKey>& keys) {
  if (!store.request || store.host_failing) return;
  for (const TileKey& key : keys) {
    if (store.decoded.contains(key) || store.pending.contains(key) || store.failures.contains(key)) continue;
    // Asking again is cheap (the worker finds the file): the set only spares the channel.
    if (store.prefetched.size() >= kMaxPrefetchedKept) store.prefetched.clear();
    if (!store.prefetched.insert(key).second) continue;
    if (store.request->send(TileRequest{TileRequestKind::Prefetch, key})) ++store.prefetches_outstanding;
  }
}

void touch_tile(TileStore& store, const TileKey& key) {
  if (auto it = std::find(store.lru.begin(), store.lru.end(), key); it != store.lru.end()) store.lru.erase(it);
  store.lru.push_back(key);
}

const zarn_ui::Image* loaded_tile(TileStore& store, const TileKey& key) {
  auto it = store.decoded.find(key);
  if (it == store.decoded.end()) return nullptr;
  touch_tile(store, key);
  return &it->second;
}

std::optional<std::pair<TileKey, int>> find_loaded_ancestor(TileStore& store, const TileKey& key) {
  TileKey k = key;
  for (int level = 1; level <= kMaxAncestorLevels && k.z > 0; ++level) {
    k = {k.x / 2, k.y / 2, static_cast<std::uint8_t>(k.z - 1)};
    if (store.decoded.contains(k)) {
      touch_tile(store, k);
      return std::pair{k, level};
    }
  }
  return std::nullopt;
}

std::optional<zarn_ui::Image> tile_image_handle(const zarn_ui::Image* image) {
  if (!image || image->empty()) return std::nullopt;
  return *image;
}

void pump_tile_results(TileStore& store) {
  if (!store.result) return;
  std::vector<TileResult> batch;
  bool worker_gone = false;
  for (;;) {
    auto next = store.result->try_recv();
    if (next.status != base::RecvStatus::Value) {
      worker_gone = next.status == base::RecvStatus::Disconnected;
      break;
    }
    batch.push_back(std::move(*next.value));
  }
  const TileClock::time_point now = store.now();
  for (TileResult& r : batch) {
    std::visit(
        [&](auto& msg) {
          using T = std::decay_t<decltype(msg)>;
          if constexpr (std::is_same_v<T, TileDownloaded>) {
            finish_download_tile(store, msg.key, msg.ok);
          } else if constexpr (std::is_same_v<T, TilePrefetched>) {
            if (store.prefetches_outstanding > 0) --store.prefetches_outstanding;
          } else if constexpr (std::is_same_v<T, TileFailed>) {
            record_failure(store, msg.key, std::move(msg.error), now);
          } else if constexpr (std::is_same_v<T, TileCacheDone>) {
            finish_cache_job(store, msg);
          } else if constexpr (std::is_same_v<T, TileHostStatus>) {
            // Answering again: the tiles that failed meanwhile are asked for at once, not after
            // the back-off they gathered while it was down.
            if (store.host_failing && !msg.failing) store.failures.clear();
            store.host_failing = msg.failing;
          } else {
            record_loaded(store, msg.key, std::move(msg.image));
          }
        },
        r);
  }
  if (worker_gone) drop_worker(store);
}

std::uint32_t enqueue_region_download(TileStore& store, const TileBox& box, std::uint8_t z0, std::uint8_t z1) {
  std::vector<TileKey> keys = region_tiles(box, z0, z1);
  const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(keys.size(), UINT32_MAX));
  store.download_total = count;
  store.download_done = 0;
  store.download_failed = 0;
  store.download_outstanding.clear();
  store.download_keys.clear();
  store.download_spans = region_spans(box, z0, z1);
  if (!store.request) {
    store.download_done = count;  // nothing to fetch with: complete at once, empty
    return count;
  }
  store.download_outstanding.insert(keys.begin(), keys.end());
  store.download_keys = std::move(keys);
  for (const TileKey& key : std::vector<TileKey>(store.download_keys)) {
    // A request the worker will never see still has to count, or the download never ends.
    if (!store.request->send(TileRequest{TileRequestKind::Download, key})) finish_download_tile(store, key, false);
  }
  return count;
}

std::uint64_t delete_region_tiles(TileStore& store, const std::vector<TileKey>& keys) {
  std::uint64_t freed = 0;
  const std::vector<fs::path> dirs = style_dirs(store);
  for (const TileKey& key : keys) {
    if (store.decoded.erase(key) > 0) {
      if (auto it = std::find(store.lru.begin(), store.lru.end(), key); it != store.lru.end()) store.lru.erase(it);
    }
    for (const fs::path& dir : dirs) freed += remove_tile_file(dir / tile_file_name(key));
  }
  return freed;
}

std::uint64_t clear_tile_cache(TileStore& store) {
  // The worker would go on filling the cleared cache with the rest of a running download; a
  // fresh worker starts with an empty queue (the old one ends at its next answer).
  if (store.request && !store.download_outstanding.empty()) attach_worker(store);
  clear_memory(store);
  store.download_total = 0;
  store.download_done = 0;
  store.download_failed = 0;
  store.download_keys.clear();
  store.download_outstanding.clear();
  if (!has_disk(store)) return 0;
  const fs::path dir = store.root ? *store.root : store.style_dir;
  const std::uint64_t size = dir_size_recursive(dir);
  std::error_code ec;
  fs::remove_all(dir, ec);
  return size;
}

std::uint64_t tile_disk_usage(const TileStore& store) {
  if (!has_disk(store)) return 0;
  return dir_size_recursive(store.root ? *store.root : store.style_dir);
}

namespace {

std::uint64_t send_cache_job(TileStore& store, TileCacheJob job) {
  job.id = ++store.last_cache_job;
  if (has_disk(store)) job.cache_dir = store.root ? *store.root : store.style_dir;
  auto shared = std::make_shared<const TileCacheJob>(std::move(job));
  store.cache_jobs.push_back(shared);
  if (!has_disk(store)) {
    finish_cache_job(store, {shared->id, shared->kind, 0, std::nullopt});
  } else if (!store.request || !store.request->send(TileRequest{shared})) {
    run_here(store, shared);
  }
  return shared->id;
}

void end_download(TileStore& store) {
  store.download_total = 0;
  store.download_done = 0;
  store.download_failed = 0;
  store.download_keys.clear();
  store.download_outstanding.clear();
  store.download_spans.clear();
}

}  // namespace

std::uint64_t start_tile_delete(TileStore& store, std::vector<TileSpan> doomed, std::vector<TileSpan> keep) {
  auto removed = [&](const TileKey& key) { return spans_contain(doomed, key) && !spans_contain(keep, key); };
  std::erase_if(store.decoded, [&](const auto& entry) { return removed(entry.first); });
  std::erase_if(store.lru, removed);
  store.prefetched.clear();  // their files may go with the job
  // Deleting the area being downloaded ends its download: the rest would only refill the disk.
  if (download_in_progress(store) && store.download_spans == doomed) end_download(store);
  TileCacheJob job;
  job.kind = TileCacheJobKind::DeleteTiles;
  job.doomed = std::move(doomed);
  job.keep = std::move(keep);
  job.tile_dirs = style_dirs(store);
  job.drop_downloads = !download_in_progress(store);
  return send_cache_job(store, std::move(job));
}

std::uint64_t start_cache_clear(TileStore& store) {
  store.decoded.clear();
  store.lru.clear();
  store.prefetched.clear();
  store.failures.clear();
  end_download(store);
  TileCacheJob job;
  job.kind = TileCacheJobKind::Clear;
  job.drop_downloads = true;
  return send_cache_job(store, std::move(job));
}

std::uint64_t start_disk_measure(TileStore& store) {
  TileCacheJob job;
  job.kind = TileCacheJobKind::Measure;
  return send_cache_job(store, std::move(job));
}

std::vector<TileCacheDone> take_finished_cache_jobs(TileStore& store) { return std::exchange(store.cache_done, {}); }

bool cache_jobs_running(const TileStore& store) { return !store.cache_jobs.empty(); }

bool prefetches_in_flight(const TileStore& store) { return store.prefetches_outstanding > 0; }

bool tiles_in_flight(const TileStore& store) { return !store.pending.empty() || !store.cache_jobs.empty(); }

bool download_in_progress(const TileStore& store) {
  return store.download_total != 0 && store.download_done < store.download_total;
}

bool has_failed_tiles(const TileStore& store) { return !store.failures.empty(); }

bool tile_host_failing(const TileStore& store) { return store.host_failing; }

bool tile_has_failed(const TileStore& store, const TileKey& key) { return store.failures.contains(key); }

}  // namespace maps

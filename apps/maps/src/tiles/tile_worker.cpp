#include "tiles/tile_worker.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <spdlog/spdlog.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "net/curl_library.hpp"
#include "net/http_client.hpp"
#include "tiles/tile_cache_job.hpp"
#include "tiles/tile_disk.hpp"

namespace maps {

namespace fs = std::filesystem;

namespace {

using TileClock = TileHostHealth::Clock;

// The longest wait on running transfers; curl ends it sooner for its own timers (a transfer's
// time limit), and so does the end of the tile host's pause. A newly sent request, or the store
// letting go of the channels, ends it at once: the request channel wakes the client, and the
// store drops its answers before its requests. So a transfer that never moves costs no wake-ups
// until its time limit.
constexpr std::chrono::milliseconds kRequestCheckInterval{60000};
// Cached region tiles checked in a row before new requests are looked at again (each check
// decodes the file).
constexpr std::size_t kDownloadChecksPerRound = 16;
// Tiles around the view waiting to be fetched into the cache: some three rings of a large window.
constexpr std::size_t kMostPrefetchesQueued = 96;

bool tile_file_present(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

std::shared_ptr<spdlog::logger> tiles_logger() {
  if (auto existing = spdlog::get("maps::tiles")) return existing;
  return spdlog::default_logger()->clone("maps::tiles");
}

// Plain system calls: a C++ file stream would set up the standard library's locales (half a
// MiB of it touched) for the first tile looked up.
std::optional<std::vector<std::uint8_t>> read_file(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  std::uint8_t buf[1 << 14];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      if (n < 0) return std::nullopt;
      return bytes;
    }
    bytes.insert(bytes.end(), buf, buf + n);
  }
}

std::optional<zarn_ui::Image> decode_cached(const fs::path& path) {
  auto bytes = read_file(path);
  if (!bytes) return std::nullopt;
  auto image = decode_png_image(*bytes);
  if (!image) return std::nullopt;
  return std::move(image).value();
}

TileResult failure_of(const TileRequest& request, base::Error error) {
  if (request.kind == TileRequestKind::Display) return TileFailed{request.key, std::move(error)};
  return TileDownloaded{request.key, false};
}

base::Error no_client_error() { return base::err("the tile HTTP client could not be built"); }

TileResult success_of(const TileRequest& request, zarn_ui::Image image) {
  if (request.kind == TileRequestKind::Display) return TileLoaded{request.key, std::move(image)};
  return TileDownloaded{request.key, true};  // the pixels were only a check
}

class TileWorker {
 public:
  TileWorker(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results, const fs::path& style_dir,
             const std::string& base, std::optional<TileHttpClient>& client, std::chrono::milliseconds first_host_pause)
      : requests_(requests),
        results_(results),
        style_dir_(style_dir),
        base_(base),
        client_(client),
        health_(first_host_pause) {
    if (client_) {
      const std::size_t n = client_->max_transfers();
      download_slots_ = n > kTransfersKeptForScreen ? n - kTransfersKeptForScreen : 1;
      requests_.set_waker(client_->wake_function());
    }
  }
  ~TileWorker() { requests_.set_waker({}); }
  TileWorker(const TileWorker&) = delete;
  TileWorker& operator=(const TileWorker&) = delete;

  void run() {
    for (;;) {
      // Nobody to answer: whatever is running or queued is abandoned.
      if (!results_.is_connected()) return;
      take_sent();
      if (!serve_screen_from_disk() || !start_work()) return;
      if (!cache_jobs_.empty()) {
        // A slice of the job, then the screen's tiles again: transfers move on without a wait.
        if (!step_cache_job()) return;
        if (client_ && client_->running() > 0) {
          for (TileTransferDone& done : client_->run(std::chrono::milliseconds{0})) {
            if (!finish_transfer(done)) return;
          }
        }
        continue;
      }
      if (client_ && client_->running() > 0) {
        for (TileTransferDone& done : client_->run(wait_limit())) {
          if (!finish_transfer(done)) return;
        }
        continue;
      }
      if (display_.empty() && display_net_.empty() && download_.empty() && prefetch_.empty()) {
        if (!open_) return;
        auto next = requests_.recv();
        if (!next) return;
        queue(*next);
      } else if (client_ && !health_.may_start(TileClock::now())) {
        // Queued tiles wait for the host's pause to end, or for a new request.
        wait_for_host();
      }
    }
  }

 private:
  void queue(const TileRequest& r) {
    if (r.kind == TileRequestKind::CacheJob) {
      if (r.job) take_cache_job(r.job);
      return;
    }
    if (r.kind == TileRequestKind::Cancel) {
      // Once its transfer runs, the tile is answered as usual.
      std::erase(display_, r.key);
      std::erase(display_net_, r.key);
      return;
    }
    if (r.kind == TileRequestKind::Prefetch) {
      queue_prefetch(r.key);
      return;
    }
    // Asked again after a cancel while its transfer ran on: that transfer answers for both.
    if (r.kind == TileRequestKind::Display && screen_tile_asked(r.key)) return;
    (r.kind == TileRequestKind::Display ? display_ : download_).push_back(r.key);
  }

  // The newest tiles around the view go first; the oldest give way once too many wait, since
  // the view has long moved on from them.
  void queue_prefetch(const TileKey& key) {
    if (std::find(prefetch_.begin(), prefetch_.end(), key) != prefetch_.end()) {
      (void)answer(TilePrefetched{key});
      return;
    }
    if (prefetch_.size() >= kMostPrefetchesQueued) {
      (void)answer(TilePrefetched{prefetch_.back()});
      prefetch_.pop_back();
    }
    prefetch_.push_front(key);
  }

  bool give_up_prefetches() {
    for (const TileKey& key : prefetch_) {
      if (!answer(TilePrefetched{key})) return false;
    }
    prefetch_.clear();
    return true;
  }

  bool screen_tile_asked(const TileKey& key) const {
    const auto is = [&](const TileKey& k) { return k == key; };
    return std::any_of(display_.begin(), display_.end(), is) ||
           std::any_of(display_net_.begin(), display_net_.end(), is) ||
           std::any_of(running_.begin(), running_.end(), [&](const Running& r) {
             return r.request.kind == TileRequestKind::Display && r.request.key == key;
           });
  }

  // Screen tiles do not wait for a host that does not answer, nor out a long Retry-After.
  bool host_unreachable(TileClock::time_point now) const {
    return health_.failing() || health_.hold_left(now) > kLongestTileWait;
  }

  // Why a tile fails without a transfer.
  base::Error unreachable_error(TileClock::time_point now) const {
    if (health_.failing()) return base::err(base::ErrorKind::Unreachable, "the tile server does not answer");
    return base::err(base::ErrorKind::ServiceError, pause_text("tile server", health_.hold_left(now)), 429);
  }

  // How long a wait on running transfers may last: up to when queued tiles may go.
  std::chrono::milliseconds wait_limit() const {
    auto limit = kRequestCheckInterval;
    const auto now = TileClock::now();
    if (display_net_.empty() && download_.empty()) return limit;
    if (const auto at = health_.next_start(now)) {
      limit = std::min(limit, std::chrono::ceil<std::chrono::milliseconds>(*at - now));
    }
    return std::max(limit, std::chrono::milliseconds{1});
  }

  void wait_for_host() {
    const auto limit = wait_limit();
    if (!open_) {
      // Nothing more will be asked; what is queued is answered when the pause ends.
      std::this_thread::sleep_for(std::min(limit, std::chrono::milliseconds{100}));
      return;
    }
    auto next = requests_.recv_for(limit);
    if (next.status == base::RecvStatus::Value) {
      queue(*next.value);
    } else if (next.status == base::RecvStatus::Disconnected) {
      open_ = false;
    }
  }

  // What the job removes is no longer to be fetched or written: download tiles queued before it
  // are dropped (answered as missing, so a download still counting them ends), and a running
  // transfer of such a tile is not written. Download tiles asked for after the job wait until
  // it is done, so a new download never sees a file the job is about to remove.
  void take_cache_job(const std::shared_ptr<const TileCacheJob>& job) {
    auto removed = [&](const TileKey& key) {
      if (job->kind == TileCacheJobKind::Clear) return true;
      if (job->kind != TileCacheJobKind::DeleteTiles) return false;
      return spans_contain(job->doomed, key) && !spans_contain(job->keep, key);
    };
    if (job->kind == TileCacheJobKind::Clear || job->kind == TileCacheJobKind::DeleteTiles) {
      std::erase_if(prefetch_, [&](const TileKey& key) { return removed(key) && answer(TilePrefetched{key}); });
    }
    if (job->drop_downloads || job->kind == TileCacheJobKind::Clear) {
      download_.clear();
    } else if (job->kind == TileCacheJobKind::DeleteTiles) {
      std::deque<TileKey> kept;
      for (const TileKey& key : download_) {
        if (!removed(key)) {
          kept.push_back(key);
        } else {
          dropped_.push_back(key);
        }
      }
      download_.swap(kept);
    }
    for (Running& r : running_) {
      if (removed(r.request.key)) r.write = false;
    }
    cache_jobs_.emplace_back(job);
  }

  bool step_cache_job() {
    while (!dropped_.empty()) {
      if (!answer(TileDownloaded{dropped_.front(), false})) return false;
      dropped_.pop_front();
    }
    TileCacheRun& run = cache_jobs_.front();
    bool done = true;
    try {
      done = run.step();
    } catch (...) {
      // Out of memory while walking: the job ends with what it did.
    }
    if (!done) return true;
    TileCacheDone result = run.result();
    cache_jobs_.pop_front();
    return answer(result);
  }

  // Everything already sent, so that a tile for the screen overtakes a long download.
  void take_sent() {
    while (open_) {
      auto next = requests_.try_recv();
      if (next.status != base::RecvStatus::Value) {
        open_ = next.status == base::RecvStatus::Empty;
        return;
      }
      queue(*next.value);
    }
  }

  fs::path path_of(const TileKey& key) const { return style_dir_ / tile_file_name(key); }

  bool answer(TileResult r) { return results_.send(std::move(r)); }

  // Screen tiles on disk are answered at once; the others wait for a transfer.
  bool serve_screen_from_disk() {
    while (!display_.empty()) {
      const TileRequest request{TileRequestKind::Display, display_.front()};
      display_.pop_front();
      std::optional<zarn_ui::Image> image;
      try {
        // A missing or corrupt file is fetched again (and thereby replaced).
        image = decode_cached(path_of(request.key));
      } catch (...) {
        // Out of memory or a library throwing: this tile failed, the worker goes on.
        if (!answer(failure_of(request, base::err("the cached tile could not be read")))) return false;
        continue;
      }
      if (image) {
        if (!answer(success_of(request, std::move(*image)))) return false;
      } else if (!client_) {
        if (!answer(failure_of(request, no_client_error()))) return false;
      } else {
        display_net_.push_back(request.key);
      }
    }
    return true;
  }

  // Fills free transfers, screen tiles first; region tiles already on disk are answered
  // without one. While the host does not answer (or holds requests back for long), the screen's
  // queued tiles fail at once, as do the region tiles not on disk while it fails; one tile at a
  // time probes it once its pause is over.
  bool start_work() {
    const auto now = TileClock::now();
    while (client_ && !display_net_.empty()) {
      if (health_.may_start(now)) {
        if (!client_->has_free_slot()) return true;  // region tiles wait for the screen's
        start_transfer({TileRequestKind::Display, display_net_.front()}, now);
        display_net_.pop_front();
        continue;
      }
      if (!host_unreachable(now)) break;  // a short pause: they wait for it
      if (!answer(TileFailed{display_net_.front(), unreachable_error(now)})) return false;
      display_net_.pop_front();
    }
    if (client_ && !display_net_.empty()) return true;
    if (cache_jobs_.empty()) {
      bool all_started = true;
      if (!start_prefetches(now, all_started)) return false;
      if (!all_started) return true;
    }
    std::size_t checks = 0;
    // Download tiles wait for the cache jobs sent before them.
    while (cache_jobs_.empty() && !download_.empty() && checks < kDownloadChecksPerRound) {
      const bool may_start = client_ && health_.may_start(now);
      if (may_start && (!client_->has_free_slot() || downloads_running_ >= download_slots_)) break;
      const TileRequest request{TileRequestKind::Download, download_.front()};
      ++checks;
      bool cached = false;
      try {
        // A file that does not decode is no offline tile: fetch it again rather than report it.
        cached = decode_cached(path_of(request.key)).has_value();
      } catch (...) {
      }
      if (cached) {
        if (!answer(TileDownloaded{request.key, true})) return false;
      } else if (!client_) {
        if (!answer(failure_of(request, no_client_error()))) return false;
      } else if (!may_start && health_.failing()) {
        if (!answer(failure_of(request, unreachable_error(now)))) return false;
      } else if (may_start) {
        start_transfer(request, now);
      } else {
        break;  // the host asked for a pause: the download goes on after it
      }
      download_.pop_front();
    }
    return true;
  }

  // Tiles around the view that are not on disk get the transfers the screen leaves free, before
  // region tiles. They are a convenience: while the host is paused or failing they are dropped,
  // not kept waiting. `all_started` is false while some still wait for a free transfer; false
  // when nobody listens any more.
  bool start_prefetches(TileClock::time_point now, bool& all_started) {
    while (!prefetch_.empty()) {
      const TileKey key = prefetch_.front();
      if (tile_file_present(path_of(key)) || screen_tile_asked(key)) {
        prefetch_.pop_front();
        if (!answer(TilePrefetched{key})) return false;
        continue;
      }
      if (!client_ || !health_.may_start(now)) return give_up_prefetches();
      if (!client_->has_free_slot() || downloads_running_ >= download_slots_) {
        all_started = false;
        return true;
      }
      start_transfer({TileRequestKind::Prefetch, key}, now);
      prefetch_.pop_front();
    }
    return true;
  }

  static bool background(const TileRequest& request) {
    return request.kind == TileRequestKind::Download || request.kind == TileRequestKind::Prefetch;
  }

  void start_transfer(const TileRequest& request, TileClock::time_point now) {
    if (background(request)) ++downloads_running_;
    running_.push_back({request, true, health_.started(now)});
    client_->start(request, tile_url(base_, request.key));
  }

  struct Taken {
    bool write = true;
    bool probe = false;
  };
  // Whether the transfer's file is to be written and whether it probed the host, and it off the
  // running list. Of two transfers of one tile the later one decides on writing: it was asked for
  // after any job that removed the tile, so the file is wanted again.
  Taken take_running(const TileRequest& request) {
    Taken taken;
    auto first = running_.end();
    for (auto it = running_.begin(); it != running_.end(); ++it) {
      if (it->request.kind != request.kind || it->request.key != request.key) continue;
      if (first == running_.end()) first = it;
      taken.write = it->write;
    }
    if (first != running_.end()) {
      taken.probe = first->probe;
      running_.erase(first);
    }
    return taken;
  }

  // Learns from the transfer whether the host answers; tells the store the first time, and
  // whenever that changes.
  bool note_host(const TileTransferDone& done, bool probe) {
    const auto now = TileClock::now();
    if (done.reply) {
      health_.answered(done.reply->status, done.reply->retry_after, now);
    } else {
      health_.failed(probe, now);
    }
    if (told_failing_ == health_.failing()) return true;
    told_failing_ = health_.failing();
    return answer(TileHostStatus{health_.failing()});
  }

  // Only a successful reply that is a PNG is worth keeping; error pages never reach the cache.
  bool finish_transfer(TileTransferDone& done) {
    const TileRequest& request = done.request;
    if (background(request)) --downloads_running_;
    const auto [write, probe] = take_running(request);
    if (!note_host(done, probe)) return false;
    if (request.kind == TileRequestKind::Prefetch) return finish_prefetch(done, write);
    TileResult result = failure_of(request, base::err(base::ErrorKind::Cancelled, "the tile was deleted meanwhile"));
    try {
      if (!done.reply) {
        result = failure_of(request, done.reply.failure());
      } else if (done.reply->status < 200 || done.reply->status > 299) {
        result = failure_of(request, http_status_error(done.reply->status));
      } else {
        const std::string& body = done.reply->body;
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
        auto image = decode_png_image(bytes);
        if (!image) {
          result = failure_of(request, base::err(base::ErrorKind::BadReply, "not a PNG tile: " + image.error()));
        } else {
          // An abandoned worker (style switch, cleared cache) must not refill the cache.
          if (!results_.is_connected()) return false;
          if (write) {
            write_tile_file(path_of(request.key), bytes);
            result = success_of(request, std::move(image).value());
          } else if (request.kind == TileRequestKind::Display) {
            result = success_of(request, std::move(image).value());
          }
        }
      }
    } catch (...) {
      result = failure_of(request, base::err("the tile could not be stored"));
    }
    return answer(std::move(result));
  }

  // A tile fetched ahead of the view is only written, not decoded for the store: the view asks
  // for it once it shows it, and then finds it on disk. A failure is no failure of the view's.
  bool finish_prefetch(TileTransferDone& done, bool write) {
    if (!results_.is_connected()) return false;
    if (write && done.reply && done.reply->status >= 200 && done.reply->status <= 299) {
      try {
        const std::string& body = done.reply->body;
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(body.data()), body.size());
        if (decode_png_image(bytes)) write_tile_file(path_of(done.request.key), bytes);
      } catch (...) {
        // Not stored: the view fetches it when it shows it.
      }
    }
    return answer(TilePrefetched{done.request.key});
  }

  base::Receiver<TileRequest>& requests_;
  const base::Sender<TileResult>& results_;
  const fs::path& style_dir_;
  const std::string& base_;
  std::optional<TileHttpClient>& client_;
  bool open_ = true;
  std::deque<TileKey> display_;      // screen tiles not looked up on disk yet
  std::deque<TileKey> display_net_;  // screen tiles waiting for a transfer
  std::deque<TileKey> download_;     // region tiles, in the order asked
  std::deque<TileKey> prefetch_;     // tiles around the view not looked up on disk yet, newest first
  std::size_t download_slots_ = 1;
  std::size_t downloads_running_ = 0;  // transfers of region tiles and of tiles around the view
  TileHostHealth health_;
  std::optional<bool> told_failing_;  // what the store last heard of the host
  struct Running {
    TileRequest request;
    bool write = true;   // false once a cache job removed the tile
    bool probe = false;  // tries a failing host again
  };
  std::vector<Running> running_;         // transfers started, in the order started
  std::deque<TileCacheRun> cache_jobs_;  // in the order sent; the front one is being done
  std::deque<TileKey> dropped_;          // download tiles a job dropped, to answer as missing
};

}  // namespace

void tile_worker_loop(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results,
                      const fs::path& style_dir, const std::string& base, std::optional<TileHttpClient>& client,
                      std::chrono::milliseconds first_host_pause) {
  TileWorker(requests, results, style_dir, base, client, first_host_pause).run();
}

void tile_worker_main(base::Receiver<TileRequest> requests, base::Sender<TileResult> results, fs::path style_dir,
                      std::string base, TileWorkerSettings settings) {
  try {
    // Declared first, so it lets go after the client's last handle is gone.
    const CurlUse curl_use;
    std::optional<TileHttpClient> client;
    auto built = TileHttpClient::create(settings.timeout, settings.max_transfers, settings.trust);
    if (built) {
      client.emplace(std::move(built).value());
    } else {
      tiles_logger()->warn("maps tile HTTP client failed to build: {}", built.error());
    }
    tile_worker_loop(requests, results, style_dir, base, client, settings.first_host_pause);
  } catch (...) {
    // Nothing may escape a thread; the store notices the closed channel.
  }
}

std::optional<TileWorkerChannels> spawn_tile_worker(const fs::path& style_dir, const std::string& base,
                                                    const TileWorkerSettings& settings) {
  auto [request_tx, request_rx] = base::channel<TileRequest>();
  auto [result_tx, result_rx] = base::channel<TileResult>();
  try {
    std::thread worker(
        [rx = std::move(request_rx), tx = std::move(result_tx), dir = style_dir, b = base, settings]() mutable {
          pthread_setname_np(pthread_self(), "maps-tiles");
          tile_worker_main(std::move(rx), std::move(tx), std::move(dir), std::move(b), settings);
        });
    worker.detach();
  } catch (...) {
    return std::nullopt;
  }
  return TileWorkerChannels{std::move(request_tx), std::move(result_rx)};
}

}  // namespace maps

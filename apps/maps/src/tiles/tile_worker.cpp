#include "tiles/tile_worker.hpp"

#include <pthread.h>
#include <spdlog/spdlog.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <span>
#include <thread>
#include <utility>
#include <vector>

#include "net/http_client.hpp"
#include "tiles/tile_cache_job.hpp"
#include "tiles/tile_disk.hpp"

namespace maps {

namespace fs = std::filesystem;

namespace {

// The longest wait on running transfers; curl ends it sooner for its own timers (a transfer's
// time limit). A newly sent request, or the store letting go of the channels, ends it at once:
// the request channel wakes the client, and the store drops its answers before its requests.
// So a transfer that never moves costs no wake-ups until its time limit.
constexpr std::chrono::milliseconds kRequestCheckInterval{60000};
// Cached region tiles checked in a row before new requests are looked at again (each check
// decodes the file).
constexpr std::size_t kDownloadChecksPerRound = 16;

std::shared_ptr<spdlog::logger> tiles_logger() {
  if (auto existing = spdlog::get("maps::tiles")) return existing;
  return spdlog::default_logger()->clone("maps::tiles");
}

std::optional<std::vector<std::uint8_t>> read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
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
             const std::string& base, std::optional<TileHttpClient>& client)
      : requests_(requests), results_(results), style_dir_(style_dir), base_(base), client_(client) {
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
        for (TileTransferDone& done : client_->run(kRequestCheckInterval)) {
          if (!finish_transfer(done)) return;
        }
        continue;
      }
      if (display_.empty() && display_net_.empty() && download_.empty()) {
        if (!open_) return;
        auto next = requests_.recv();
        if (!next) return;
        queue(*next);
      }
    }
  }

 private:
  void queue(const TileRequest& r) {
    if (r.kind == TileRequestKind::CacheJob) {
      if (r.job) take_cache_job(r.job);
      return;
    }
    (r.kind == TileRequestKind::Display ? display_ : download_).push_back(r.key);
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
  // without one.
  bool start_work() {
    std::size_t checks = 0;
    while (!client_ || client_->has_free_slot()) {
      if (client_ && !display_net_.empty()) {
        start_transfer({TileRequestKind::Display, display_net_.front()});
        display_net_.pop_front();
        continue;
      }
      // Download tiles wait for the cache jobs sent before them.
      if (!cache_jobs_.empty() || download_.empty() || checks == kDownloadChecksPerRound) break;
      if (client_ && downloads_running_ >= download_slots_) break;
      const TileRequest request{TileRequestKind::Download, download_.front()};
      download_.pop_front();
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
      } else {
        start_transfer(request);
      }
    }
    return true;
  }

  void start_transfer(const TileRequest& request) {
    if (request.kind == TileRequestKind::Download) ++downloads_running_;
    running_.push_back({request, true});
    client_->start(request, tile_url(base_, request.key));
  }

  // Whether the transfer's file is to be written, and it off the running list. Of two
  // transfers of one tile the later one decides: it was asked for after any job that removed
  // the tile, so the file is wanted again.
  bool take_running(const TileRequest& request) {
    bool write = true;
    auto first = running_.end();
    for (auto it = running_.begin(); it != running_.end(); ++it) {
      if (it->request.kind != request.kind || it->request.key != request.key) continue;
      if (first == running_.end()) first = it;
      write = it->write;
    }
    if (first != running_.end()) running_.erase(first);
    return write;
  }

  // Only a successful reply that is a PNG is worth keeping; error pages never reach the cache.
  bool finish_transfer(TileTransferDone& done) {
    const TileRequest& request = done.request;
    if (request.kind == TileRequestKind::Download) --downloads_running_;
    const bool write = take_running(request);
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

  base::Receiver<TileRequest>& requests_;
  const base::Sender<TileResult>& results_;
  const fs::path& style_dir_;
  const std::string& base_;
  std::optional<TileHttpClient>& client_;
  bool open_ = true;
  std::deque<TileKey> display_;      // screen tiles not looked up on disk yet
  std::deque<TileKey> display_net_;  // screen tiles waiting for a transfer
  std::deque<TileKey> download_;     // region tiles, in the order asked
  std::size_t download_slots_ = 1;
  std::size_t downloads_running_ = 0;
  struct Running {
    TileRequest request;
    bool write = true;  // false once a cache job removed the tile
  };
  std::vector<Running> running_;        // transfers started, in the order started
  std::deque<TileCacheRun> cache_jobs_;  // in the order sent; the front one is being done
  std::deque<TileKey> dropped_;         // download tiles a job dropped, to answer as missing
};

}  // namespace

void tile_worker_loop(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results,
                      const fs::path& style_dir, const std::string& base, std::optional<TileHttpClient>& client) {
  TileWorker(requests, results, style_dir, base, client).run();
}

void tile_worker_main(base::Receiver<TileRequest> requests, base::Sender<TileResult> results, fs::path style_dir,
                      std::string base, TileWorkerSettings settings) {
  try {
    std::optional<TileHttpClient> client;
    auto built = TileHttpClient::create(settings.timeout, settings.max_transfers);
    if (built) {
      client.emplace(std::move(built).value());
    } else {
      tiles_logger()->warn("maps tile HTTP client failed to build: {}", built.error());
    }
    tile_worker_loop(requests, results, style_dir, base, client);
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

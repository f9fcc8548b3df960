#include "tiles/tile_worker.hpp"

#include <pthread.h>
#include <spdlog/spdlog.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <span>
#include <thread>
#include <utility>

#include "tiles/tile_disk.hpp"

namespace maps {

namespace fs = std::filesystem;

namespace {

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

std::optional<DecodedTile> decode_cached(const fs::path& path) {
  auto bytes = read_file(path);
  if (!bytes) return std::nullopt;
  auto decoded = decode_png_rgba(*bytes);
  if (!decoded) return std::nullopt;
  return std::move(decoded).value();
}

// Only a successful reply that is a PNG is worth keeping; error pages never reach the cache.
std::optional<DecodedTile> fetch_tile(const TileKey& key, const fs::path& path, const std::string& base,
                                      TileHttpClient& client) {
  auto reply = client.get(tile_url(base, key));
  if (!reply || reply->status < 200 || reply->status > 299) return std::nullopt;
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(reply->body.data()),
                                            reply->body.size());
  auto decoded = decode_png_rgba(bytes);
  if (!decoded) return std::nullopt;
  write_tile_file(path, bytes);
  return std::move(decoded).value();
}

TileResult serve_display(const TileKey& key, const fs::path& path, const std::string& base,
                         std::optional<TileHttpClient>& client) {
  std::optional<DecodedTile> tile = decode_cached(path);
  // A missing or corrupt file is fetched again (and thereby replaced).
  if (!tile && client) tile = fetch_tile(key, path, base, *client);
  if (!tile) return TileFailed{key};
  zarn_ui::Image image = zarn_ui::Image::from_rgba8(tile->width, tile->height, std::move(tile->rgba));
  if (image.empty()) return TileFailed{key};
  return TileLoaded{key, std::move(image)};
}

TileResult serve_download(const TileKey& key, const fs::path& path, const std::string& base,
                          std::optional<TileHttpClient>& client) {
  // A file that does not decode is no offline tile: fetch it again rather than report it.
  if (decode_cached(path)) return TileDownloaded{key, true};
  if (!client) return TileDownloaded{key, false};
  return TileDownloaded{key, fetch_tile(key, path, base, *client).has_value()};
}

}  // namespace

TileResult serve_tile_request(const TileRequest& request, const fs::path& style_dir, const std::string& base,
                              std::optional<TileHttpClient>& client) {
  const fs::path path = style_dir / tile_file_name(request.key);
  try {
    if (request.kind == TileRequestKind::Display) return serve_display(request.key, path, base, client);
    return serve_download(request.key, path, base, client);
  } catch (...) {
    // Out of memory or a library throwing: this tile failed, the worker goes on.
    if (request.kind == TileRequestKind::Display) return TileFailed{request.key};
    return TileDownloaded{request.key, false};
  }
}

void tile_worker_loop(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results,
                      const fs::path& style_dir, const std::string& base, std::optional<TileHttpClient>& client) {
  std::deque<TileKey> display;
  std::deque<TileKey> download;
  auto queue = [&](TileRequest r) { (r.kind == TileRequestKind::Display ? display : download).push_back(r.key); };
  bool open = true;
  for (;;) {
    // Take everything already sent so that a tile for the screen overtakes a long download.
    while (open) {
      auto next = requests.try_recv();
      if (next.status == base::RecvStatus::Value) {
        queue(*next.value);
      } else {
        open = next.status == base::RecvStatus::Empty;
        break;
      }
    }
    if (display.empty() && download.empty()) {
      if (!open) return;
      auto next = requests.recv();
      if (!next) return;
      queue(*next);
      continue;
    }
    TileRequest request;
    if (!display.empty()) {
      request = {TileRequestKind::Display, display.front()};
      display.pop_front();
    } else {
      request = {TileRequestKind::Download, download.front()};
      download.pop_front();
    }
    if (!results.send(serve_tile_request(request, style_dir, base, client))) return;
  }
}

void tile_worker_main(base::Receiver<TileRequest> requests, base::Sender<TileResult> results, fs::path style_dir,
                      std::string base) {
  try {
    std::optional<TileHttpClient> client;
    auto built = TileHttpClient::create();
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

std::optional<TileWorkerChannels> spawn_tile_worker(const fs::path& style_dir, const std::string& base) {
  auto [request_tx, request_rx] = base::channel<TileRequest>();
  auto [result_tx, result_rx] = base::channel<TileResult>();
  try {
    std::thread worker([rx = std::move(request_rx), tx = std::move(result_tx), dir = style_dir, b = base]() mutable {
      pthread_setname_np(pthread_self(), "maps-tiles");
      tile_worker_main(std::move(rx), std::move(tx), std::move(dir), std::move(b));
    });
    worker.detach();
  } catch (...) {
    return std::nullopt;
  }
  return TileWorkerChannels{std::move(request_tx), std::move(result_rx)};
}

}  // namespace maps

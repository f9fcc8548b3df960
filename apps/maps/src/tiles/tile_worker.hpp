#pragma once
// The "maps-tiles" thread: serves tile requests one at a time from the disk cache or the
// tile service, decodes PNGs and keeps the cache. Tiles for the screen go before queued
// region-download tiles.

#include <filesystem>
#include <optional>
#include <string>

#include "base/channel.hpp"
#include "tiles/png_decode.hpp"
#include "tiles/tile_http.hpp"
#include "tiles/tile_messages.hpp"

namespace maps {

struct TileWorkerChannels {
  base::Sender<TileRequest> request;
  base::Receiver<TileResult> result;
};

// Starts a detached "maps-tiles" thread over fresh channels; nullopt when the system refuses
// the thread.
std::optional<TileWorkerChannels> spawn_tile_worker(const std::filesystem::path& style_dir, const std::string& base);

// The thread body. Returns when the request channel is closed and drained, or when an answer
// cannot be delivered.
void tile_worker_main(base::Receiver<TileRequest> requests, base::Sender<TileResult> results,
                      std::filesystem::path style_dir, std::string base);

// The loop itself; `client` may be absent (then only the disk cache serves).
void tile_worker_loop(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results,
                      const std::filesystem::path& style_dir, const std::string& base,
                      std::optional<TileHttpClient>& client);

// One request, answered as the worker would.
TileResult serve_tile_request(const TileRequest& request, const std::filesystem::path& style_dir,
                              const std::string& base, std::optional<TileHttpClient>& client);

}  // namespace maps

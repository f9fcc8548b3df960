#pragma once
// The "maps-tiles" thread: serves tile requests from the disk cache or the tile service,
// decodes PNGs straight into drawable images and keeps the cache. Several transfers run at
// once, so a stalled one holds up no other; tiles for the screen go before queued
// region-download tiles.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "base/channel.hpp"
#include "tiles/png_decode.hpp"
#include "tiles/tile_http.hpp"
#include "tiles/tile_messages.hpp"
#include "tiles/tile_worker_settings.hpp"

namespace maps {

// Region-download transfers leave this many of the worker's transfers to tiles for the
// screen, so a long download never makes the map wait for a free one.
inline constexpr std::size_t kTransfersKeptForScreen = 2;

struct TileWorkerChannels {
  base::Sender<TileRequest> request;
  base::Receiver<TileResult> result;
};

// Starts a detached "maps-tiles" thread over fresh channels; nullopt when the system refuses
// the thread.
std::optional<TileWorkerChannels> spawn_tile_worker(const std::filesystem::path& style_dir, const std::string& base,
                                                    const TileWorkerSettings& settings = {});

// The thread body. Returns when the request channel is closed and everything asked is
// answered, or when the store stops listening.
void tile_worker_main(base::Receiver<TileRequest> requests, base::Sender<TileResult> results,
                      std::filesystem::path style_dir, std::string base, TileWorkerSettings settings = {});

// The loop itself; `client` may be absent (then only the disk cache serves).
void tile_worker_loop(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results,
                      const std::filesystem::path& style_dir, const std::string& base,
                      std::optional<TileHttpClient>& client,
                      std::chrono::milliseconds first_host_pause = kFirstHostPause);

}  // namespace maps

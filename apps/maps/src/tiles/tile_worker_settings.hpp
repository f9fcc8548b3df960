#pragma once
// How a tile worker talks to the tile service: kept by the store for every worker it starts.

#include <chrono>
#include <cstddef>

#include "net/http_get.hpp"
#include "tiles/tile_host_health.hpp"

namespace maps {

inline constexpr std::chrono::milliseconds kTileClientTimeout{15000};
// Transfers running at once, all to the one tile host: what a browser allows itself per host,
// so a screenful arrives in a few round trips without crowding a public service.
inline constexpr std::size_t kMaxTileTransfers = 6;

struct TileWorkerSettings {
  std::chrono::milliseconds timeout = kTileClientTimeout;  // per transfer
  std::size_t max_transfers = kMaxTileTransfers;           // running at once
  // Before a failing host is tried again; doubles with each failed try.
  std::chrono::milliseconds first_host_pause = kFirstHostPause;
  HttpTrust trust{};  // the system's certificates unless a benchmark's own server needs others
  bool operator==(const TileWorkerSettings&) const = default;
};

}  // namespace maps

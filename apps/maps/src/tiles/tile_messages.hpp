#pragma once
// What the tile store and its worker thread say to each other.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "base/result.hpp"
#include "tiles/tile_geometry.hpp"
#include "tiles/tile_key.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

enum class TileRequestKind {
  Display,   // load for painting: disk cache, else network; answer with the pixels
  Download,  // make sure the file is in the disk cache; answer whether it is
  Prefetch,  // a tile just outside the view: fetch it into the disk cache if it is not there
  CacheJob,  // delete, clear or measure files of the cache (the request's `job`)
  Cancel,    // the screen no longer needs this tile: drop it if it still waits for a transfer
};

enum class TileCacheJobKind {
  DeleteTiles,  // remove the `doomed` tiles that no `keep` span holds from every `tile_dirs`
  Clear,        // remove `cache_dir` with everything below it
  Measure,      // only measure
};

// Work on the cache folder, done by the worker that writes into it, so that it never races a
// download. Every job ends by measuring `cache_dir`.
struct TileCacheJob {
  std::uint64_t id = 0;
  TileCacheJobKind kind = TileCacheJobKind::Measure;
  std::vector<TileSpan> doomed;
  std::vector<TileSpan> keep;
  // Where the tiles of DeleteTiles lie ({z}/{x}/{y}.png): the folder of every style, since an
  // area downloaded in one style is deleted whatever style is shown.
  std::vector<std::filesystem::path> tile_dirs;
  std::filesystem::path cache_dir;  // cleared by Clear, measured by every job
  // The store has no download running any more: the worker forgets the download tiles it still
  // has queued (Clear always does).
  bool drop_downloads = false;
  bool operator==(const TileCacheJob&) const = default;
};

struct TileRequest {
  TileRequest() = default;
  TileRequest(TileRequestKind kind, TileKey key) : kind(kind), key(key) {}
  explicit TileRequest(std::shared_ptr<const TileCacheJob> job)
      : kind(TileRequestKind::CacheJob), job(std::move(job)) {}

  TileRequestKind kind = TileRequestKind::Display;
  TileKey key;
  std::shared_ptr<const TileCacheJob> job;  // CacheJob only
  bool operator==(const TileRequest&) const = default;
};

// The image is built (and premultiplied for drawing) on the worker thread.
struct TileLoaded {
  TileKey key;
  zarn_ui::Image image;
};
struct TileFailed {
  TileKey key;
  base::Error error;  // why, with its kind: unreachable, an HTTP status, timed out, not a PNG
};
// Carries its key so the store counts each tile of a download once, and only tiles of the
// download it is running.
struct TileDownloaded {
  TileKey key;
  bool ok = false;
};

// The worker is done with a tile asked for with Prefetch: it was on disk, was fetched into the
// cache, or was given up (the host failing or paused, the reply no tile, the view long gone).
struct TilePrefetched {
  TileKey key;
};

// A cache job done: the bytes its removals freed and what the measured folder holds after it
// (nothing for a store without a folder, which has no cache to measure).
struct TileCacheDone {
  std::uint64_t id = 0;
  TileCacheJobKind kind = TileCacheJobKind::Measure;
  std::uint64_t freed = 0;
  std::optional<std::uint64_t> usage;
  bool operator==(const TileCacheDone&) const = default;
};

// Whether the tile host answers: sent with the worker's first transfer that ends, and whenever it
// changes (three transfers in a row without a reply make it failing, any reply ends that).
struct TileHostStatus {
  bool failing = false;
  bool operator==(const TileHostStatus&) const = default;
};

using TileResult = std::variant<TileLoaded, TileFailed, TileDownloaded, TilePrefetched, TileCacheDone, TileHostStatus>;

}  // namespace maps

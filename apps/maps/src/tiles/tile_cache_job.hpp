#pragma once
// Carrying out a cache job on the files: a tile deletion goes a slice at a time, so the thread
// doing it can serve other work between slices.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "tiles/tile_messages.hpp"

namespace maps {

// Tiles looked at in one slice of a deletion.
inline constexpr std::size_t kCacheJobSlice = 512;

class TileCacheRun {
 public:
  explicit TileCacheRun(std::shared_ptr<const TileCacheJob> job);

  const TileCacheJob& job() const { return *job_; }
  // Looks at up to `budget` tiles (a clear or a measure is one step); true once the job is done,
  // and then `result` holds its answer. Never throws for a file it cannot read or remove.
  bool step(std::size_t budget = kCacheJobSlice);
  const TileCacheDone& result() const { return result_; }

 private:
  void finish();

  std::shared_ptr<const TileCacheJob> job_;
  std::size_t span_ = 0;  // the span being walked, and the next tile in it
  std::uint32_t x_ = 0;
  std::uint32_t y_ = 0;
  bool started_ = false;
  bool done_ = false;
  TileCacheDone result_;
};

// The whole job at once.
TileCacheDone run_cache_job(std::shared_ptr<const TileCacheJob> job);

// Bytes of the regular file at `path` (0 for anything else or nothing), which is then removed;
// failures are ignored.
std::uint64_t remove_tile_file(const std::filesystem::path& path);

}  // namespace maps

#pragma once
// Carrying out a cache job on the files a slice at a time (the tiles of a deletion, the entries
// of a clear and of the measuring every job ends with), so the thread doing it can serve other
// work between slices.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "tiles/dir_walk.hpp"
#include "tiles/tile_messages.hpp"

namespace maps {

// Tiles, or folder entries, looked at in one slice.
inline constexpr std::size_t kCacheJobSlice = 512;

class TileCacheRun {
 public:
  explicit TileCacheRun(std::shared_ptr<const TileCacheJob> job);

  const TileCacheJob& job() const { return *job_; }
  // Looks at up to `budget` tiles or folder entries; true once the job is done, and then `result`
  // holds its answer. Never throws for a file it cannot read or remove.
  bool step(std::size_t budget = kCacheJobSlice);
  const TileCacheDone& result() const { return result_; }

 private:
  enum class Phase { Remove, Measure, Done };
  bool step_deletion(std::size_t budget);
  void start_measuring();

  std::shared_ptr<const TileCacheJob> job_;
  Phase phase_ = Phase::Remove;  // removing: the deletion's tiles or the clear's folder
  std::optional<DirWalk> walk_;
  std::size_t span_ = 0;  // the span being walked, and the next tile in it
  std::uint32_t x_ = 0;
  std::uint32_t y_ = 0;
  bool started_ = false;
  TileCacheDone result_;
};

// The whole job at once.
TileCacheDone run_cache_job(std::shared_ptr<const TileCacheJob> job);

// Bytes of the regular file at `path` (0 for anything else or nothing), which is then removed;
// failures are ignored.
std::uint64_t remove_tile_file(const std::filesystem::path& path);

}  // namespace maps

#include "tiles/tile_cache_job.hpp"

#include <system_error>
#include <utility>

#include "tiles/tile_disk.hpp"

namespace maps {

namespace fs = std::filesystem;

std::uint64_t remove_tile_file(const fs::path& path) {
  std::error_code ec;
  const auto st = fs::symlink_status(path, ec);
  if (ec || !fs::exists(st)) return 0;
  std::uint64_t size = 0;
  if (fs::is_regular_file(st)) {
    const auto n = fs::file_size(path, ec);
    if (!ec) size = n;
  }
  fs::remove(path, ec);
  return size;
}

TileCacheRun::TileCacheRun(std::shared_ptr<const TileCacheJob> job) : job_(std::move(job)) {
  result_.id = job_->id;
  result_.kind = job_->kind;
}

bool TileCacheRun::step(std::size_t budget) {
  if (done_) return true;
  const TileCacheJob& job = *job_;
  if (job.kind == TileCacheJobKind::Clear) {
    if (!job.cache_dir.empty()) {
      result_.freed = dir_size_recursive(job.cache_dir);
      std::error_code ec;
      fs::remove_all(job.cache_dir, ec);
    }
    finish();
    return true;
  }
  if (job.kind == TileCacheJobKind::DeleteTiles && !job.tile_dirs.empty()) {
    std::size_t looked = 0;
    while (span_ < job.doomed.size()) {
      const TileSpan& s = job.doomed[span_];
      if (!started_) {
        x_ = s.xlo;
        y_ = s.ylo;
        started_ = true;
      }
      if (looked == budget) return false;
      ++looked;
      const TileKey key{x_, y_, s.z};
      if (!spans_contain(job.keep, key)) {
        for (const fs::path& dir : job.tile_dirs) result_.freed += remove_tile_file(dir / tile_file_name(key));
      }
      // Rows outer, columns inner, as the region's tiles are listed.
      if (x_ < s.xhi) {
        ++x_;
      } else if (y_ < s.yhi) {
        x_ = s.xlo;
        ++y_;
      } else {
        ++span_;
        started_ = false;
      }
    }
  }
  finish();
  return true;
}

void TileCacheRun::finish() {
  if (!job_->cache_dir.empty()) result_.usage = dir_size_recursive(job_->cache_dir);
  done_ = true;
}

TileCacheDone run_cache_job(std::shared_ptr<const TileCacheJob> job) {
  TileCacheRun run(std::move(job));
  while (!run.step()) {
  }
  return run.result();
}

}  // namespace maps

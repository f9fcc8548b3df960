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
  if (job_->kind == TileCacheJobKind::Clear && !job_->cache_dir.empty()) {
    walk_.emplace(job_->cache_dir, DirWalk::Mode::Remove);
  } else if (job_->kind != TileCacheJobKind::DeleteTiles || job_->tile_dirs.empty()) {
    start_measuring();
  }
}

void TileCacheRun::start_measuring() {
  phase_ = Phase::Measure;
  walk_.reset();
  if (job_->cache_dir.empty()) {
    phase_ = Phase::Done;
    return;
  }
  walk_.emplace(job_->cache_dir, DirWalk::Mode::Measure);
}

bool TileCacheRun::step(std::size_t budget) {
  switch (phase_) {
    case Phase::Remove:
      if (job_->kind == TileCacheJobKind::Clear) {
        if (!walk_->step(budget)) return false;
        result_.freed = walk_->bytes();
      } else if (!step_deletion(budget)) {
        return false;
      }
      start_measuring();
      return phase_ == Phase::Done;
    case Phase::Measure:
      if (!walk_->step(budget)) return false;
      result_.usage = walk_->bytes();
      walk_.reset();
      phase_ = Phase::Done;
      return true;
    case Phase::Done: return true;
  }
  return true;
}

bool TileCacheRun::step_deletion(std::size_t budget) {
  const TileCacheJob& job = *job_;
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
  return true;
}

TileCacheDone run_cache_job(std::shared_ptr<const TileCacheJob> job) {
  TileCacheRun run(std::move(job));
  while (!run.step()) {
  }
  return run.result();
}

}  // namespace maps

#include "tiles/dir_walk.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>
#include <utility>

namespace maps {

namespace fs = std::filesystem;

DirWalk::DirWalk(fs::path root, Mode mode) : root_(std::move(root)), mode_(mode) {}

void DirWalk::leave_level() {
  const fs::path dir = std::move(stack_.back().dir);
  stack_.pop_back();
  if (mode_ == Mode::Remove) {
    std::error_code ec;
    fs::remove(dir, ec);  // fails while something in it could not be removed
  }
}

bool DirWalk::step(std::size_t budget) {
  if (done_) return true;
  if (!started_) {
    started_ = true;
    std::error_code ec;
    fs::directory_iterator it(root_, ec);
    if (ec) {
      done_ = true;
      return true;
    }
    stack_.push_back({root_, std::move(it)});
  }
  budget = std::max<std::size_t>(budget, 1);
  for (std::size_t looked = 0; looked < budget && !stack_.empty();) {
    Level& level = stack_.back();
    if (level.it == fs::directory_iterator()) {
      leave_level();
      continue;
    }
    ++looked;
    const fs::directory_entry entry = *level.it;
    std::error_code ec;
    level.it.increment(ec);
    if (ec) level.it = fs::directory_iterator();  // what cannot be listed further counts as nothing
    std::error_code entry_ec;
    const fs::file_status st = entry.symlink_status(entry_ec);
    if (entry_ec) continue;
    if (fs::is_directory(st)) {
      std::error_code sub_ec;
      fs::directory_iterator sub(entry.path(), sub_ec);
      if (!sub_ec) stack_.push_back({entry.path(), std::move(sub)});
      continue;
    }
    if (fs::is_regular_file(st)) {
      const auto size = entry.file_size(entry_ec);
      if (!entry_ec) bytes_ += size;
    } else if (fs::is_symlink(st)) {
      struct stat lst {};
      if (::lstat(entry.path().c_str(), &lst) == 0) bytes_ += static_cast<std::uint64_t>(lst.st_size);
    }
    if (mode_ == Mode::Remove) fs::remove(entry.path(), entry_ec);
  }
  if (!stack_.empty()) return false;
  done_ = true;
  return true;
}

}  // namespace maps

#include "tiles/tile_disk.hpp"

#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "zarn_ui/atomic_file.hpp"

namespace maps {

namespace fs = std::filesystem;

namespace {
bool usable(const std::optional<std::string>& value) { return value && !value->empty() && is_valid_utf8(*value); }

std::optional<std::string> env(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::nullopt;
  return std::string(v);
}
}  // namespace

fs::path tile_cache_root_for(const std::optional<std::string>& xdg_cache_home, const std::optional<std::string>& home,
                             const fs::path& temp_dir) {
  if (usable(xdg_cache_home)) return fs::path(*xdg_cache_home) / "zarn-maps" / "tiles";
  if (usable(home)) return fs::path(*home) / ".cache" / "zarn-maps" / "tiles";
  return temp_dir / "zarn-maps" / "tiles";
}

fs::path tile_cache_root() {
  std::error_code ec;
  fs::path temp = fs::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  return tile_cache_root_for(env("XDG_CACHE_HOME"), env("HOME"), temp);
}

fs::path tile_file_name(const TileKey& key) {
  return fs::path(fmt::format("{}", key.z)) / fmt::format("{}", key.x) / fmt::format("{}.png", key.y);
}

std::string tile_url(std::string_view base, const TileKey& key) {
  return fmt::format("{}/{}/{}/{}.png", base, key.z, key.x, key.y);
}

bool write_tile_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
  // The cache can be fetched again: it is not synced, so downloads do not wait on the disk.
  return zarn_ui::atomic_file::write(path.string(), bytes, zarn_ui::atomic_file::Durability::Unsynced).is_ok();
}

std::uint64_t dir_size_recursive(const fs::path& path) {
  std::error_code ec;
  fs::directory_iterator it(path, ec);
  if (ec) return 0;
  std::uint64_t total = 0;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code entry_ec;
    const fs::file_status st = it->symlink_status(entry_ec);
    if (entry_ec) continue;
    if (fs::is_directory(st)) {
      total += dir_size_recursive(it->path());
    } else if (fs::is_regular_file(st)) {
      const auto size = it->file_size(entry_ec);
      if (!entry_ec) total += size;
    } else if (fs::is_symlink(st)) {
      // The link itself, not its target.
      struct stat lst {};
      if (::lstat(it->path().c_str(), &lst) == 0) total += static_cast<std::uint64_t>(lst.st_size);
    }
  }
  return total;
}
}  // namespace maps

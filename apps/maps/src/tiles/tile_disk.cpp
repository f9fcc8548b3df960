#include "tiles/tile_disk.hpp"

#include <fmt/format.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace maps {

namespace fs = std::filesystem;

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += len;
  }
  return true;
}

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
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  // A name no other writer uses: workers of two styles, or two stores, may write at once.
  static std::atomic<std::uint64_t> counter{0};
  fs::path tmp = path;
  tmp += fmt::format(".{}.{}.tmp", static_cast<long>(::getpid()), counter.fetch_add(1));
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (!written || !closed) {
    fs::remove(tmp, ec);
    return false;
  }
  fs::rename(tmp, path, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return false;
  }
  return true;
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

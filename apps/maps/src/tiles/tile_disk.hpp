#pragma once
// The tile cache on disk: where it lives, how tiles are named in it, and measuring it.
// Layout: root/{style}/{z}/{x}/{y}.png, one PNG file per tile as the service sent it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/utf8.hpp"
#include "tiles/tile_key.hpp"

namespace maps {

// The first that applies: $XDG_CACHE_HOME/zarn-maps/tiles, $HOME/.cache/zarn-maps/tiles,
// {temp}/zarn-maps/tiles. Unset, empty and non-UTF-8 values fall through. Read anew each call.
std::filesystem::path tile_cache_root();
// The same rule over given values (nullopt = unset), so it can be checked without touching
// the process environment.
std::filesystem::path tile_cache_root_for(const std::optional<std::string>& xdg_cache_home,
                                          const std::optional<std::string>& home,
                                          const std::filesystem::path& temp_dir);

// "{z}/{x}/{y}.png"
std::filesystem::path tile_file_name(const TileKey& key);
// "{base}/{z}/{x}/{y}.png"
std::string tile_url(std::string_view base, const TileKey& key);

// Writes through a temporary file in the same directory and renames it into place, so a
// reader never sees half a tile. Creates missing directories. True when the file is in place.
bool write_tile_file(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Total length of the files below `path`; symbolic links are not followed, unreadable
// entries count as nothing, and a directory that cannot be listed is 0.
std::uint64_t dir_size_recursive(const std::filesystem::path& path);

using base::is_valid_utf8;

}  // namespace maps

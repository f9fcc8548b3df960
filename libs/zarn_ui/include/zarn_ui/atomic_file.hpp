#pragma once
// Publishing a file so that a reader sees either no file (or the old one) or the whole new one.

#include <cstdint>
#include <span>
#include <string>

#include "base/result.hpp"

namespace zarn_ui::atomic_file {

// Whether the write waits until the file and its folder entry are on disk.
enum class Durability : std::uint8_t {
  Synced,    // documents and shots: the new file survives a crash once `write` returns
  Unsynced,  // caches: a crash may lose the file, but no reader ever sees half of it
};

// Writes `bytes` to a temporary file of its own in the target's folder, renames it over `path`
// and, when synced, syncs the file before and the folder after the rename. Missing parent folders
// are created first. On failure nothing is left behind and the error carries the OS's text.
base::Status write(const std::string& path, std::span<const std::uint8_t> bytes,
                   Durability durability = Durability::Synced);

}  // namespace zarn_ui::atomic_file

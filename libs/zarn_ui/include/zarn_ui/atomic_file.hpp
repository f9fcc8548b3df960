#pragma once
// Publishing a file so that a reader sees either no file (or the old one) or the whole new one.

#include <cstdint>
#include <span>
#include <string>

#include "base/result.hpp"

namespace zarn_ui::atomic_file {

// Writes `bytes` to a temporary file in the target's folder, syncs it, renames it over `path`
// and syncs the folder. Missing parent folders are created first. On failure nothing is left
// behind and the error carries the OS's text.
base::Status write(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace zarn_ui::atomic_file

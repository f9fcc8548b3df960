#pragma once
// POSIX file plumbing for the document files: owned descriptors, whole-file reads, complete
// writes, fsync of files and folders, atomic replacement and moving damaged files aside.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.hpp"

namespace zarn_ui::persist::detail {

class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  Fd& operator=(Fd&& o) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd();
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Holds an exclusive flock on a descriptor for its lifetime.
class FileLock {
 public:
  static base::Result<FileLock> acquire(int fd);
  FileLock(FileLock&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
  FileLock& operator=(FileLock&&) = delete;
  ~FileLock();

 private:
  explicit FileLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

std::string errno_text(const std::string& what, const std::filesystem::path& path);
base::Result<Fd> open_file(const std::filesystem::path& path, int flags, int mode = 0600);
// Missing file: none. Unreadable file: an error.
base::Result<std::optional<std::vector<std::uint8_t>>> read_file(const std::filesystem::path& path);
base::Status write_all_at(int fd, std::span<const std::uint8_t> data, off_t offset);
base::Status sync_fd(int fd, const std::filesystem::path& path);
base::Status sync_folder(const std::filesystem::path& folder);
// Creates the folder and any missing parents, syncing the parent of each folder it creates so
// that a power loss cannot take a folder whose files were synced.
base::Status create_folders(const std::filesystem::path& folder);
// Writes `data` to a temp file beside `path`, fsyncs it, renames it over `path`, fsyncs the folder.
base::Status replace_file(const std::filesystem::path& path, std::span<const std::uint8_t> data);
// Makes `to` a second name of the file at `path` (a hard link put in place by a rename, so `to`
// is never missing or half made). False when `path` does not exist.
base::Result<bool> link_as(const std::filesystem::path& path, const std::filesystem::path& to);
// A free name beside `path` with the suffix and a UTC time stamp.
std::filesystem::path aside_name(const std::filesystem::path& path, const std::string& suffix);

}  // namespace zarn_ui::persist::detail

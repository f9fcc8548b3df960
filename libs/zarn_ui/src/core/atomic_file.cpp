#include "zarn_ui/atomic_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace zarn_ui::atomic_file {
namespace {

std::string os_error(const std::string& what, int err) { return what + ": " + std::strerror(err); }

// Closes the descriptor and removes the temporary file unless the write was published.
class TempFile {
 public:
  TempFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!published_) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  int close() {
    const int r = ::close(fd_);
    fd_ = -1;
    return r;
  }
  void published() { published_ = true; }

 private:
  int fd_;
  std::string path_;
  bool published_ = false;
};

}  // namespace

base::Status write(const std::string& path, std::span<const std::uint8_t> bytes, Durability durability) {
  namespace fs = std::filesystem;
  if (path.empty()) return base::err("write file: empty path");
  const fs::path target(path);
  if (!target.has_filename()) return base::err("write file: not a file path: " + path);
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";

  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return base::err("create " + dir.string() + ": " + ec.message());

  std::string base_name(".");
  base_name.append(target.filename().string());
  base_name.append(".tmp-XXXXXX");
  const std::string tmpl = (dir / base_name).string();
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return base::err(os_error("create temporary file in " + dir.string(), errno));
  TempFile tmp(fd, name.data());

  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(tmp.fd(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return base::err(os_error("write " + tmp.path(), errno));
    }
    done += static_cast<std::size_t>(n);
  }
  // mkostemp makes the file private; a published file is readable like any other.
  if (::fchmod(tmp.fd(), 0644) != 0) return base::err(os_error("chmod " + tmp.path(), errno));
  const bool synced = durability == Durability::Synced;
  if (synced && ::fsync(tmp.fd()) != 0) return base::err(os_error("sync " + tmp.path(), errno));
  if (tmp.close() != 0) return base::err(os_error("close " + tmp.path(), errno));
  if (::rename(tmp.path().c_str(), path.c_str()) != 0) return base::err(os_error("rename to " + path, errno));
  tmp.published();
  if (!synced) return {};

  // The rename lasts only once the folder's entry is on disk.
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd < 0) return base::err(os_error("open folder " + dir.string(), errno));
  const int sync_rc = ::fsync(dfd);
  const int sync_err = errno;
  ::close(dfd);
  if (sync_rc != 0) return base::err(os_error("sync folder " + dir.string(), sync_err));
  return {};
}

}  // namespace zarn_ui::atomic_file

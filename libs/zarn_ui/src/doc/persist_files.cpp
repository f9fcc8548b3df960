#include "persist_files.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include <fmt/format.h>

namespace zarn_ui::persist::detail {

Fd& Fd::operator=(Fd&& o) noexcept {
  if (this != &o) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = o.fd_;
    o.fd_ = -1;
  }
  return *this;
}

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
}

base::Result<FileLock> FileLock::acquire(int fd) {
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return base::err(fmt::format("cannot lock the document: {}", std::strerror(errno)));
  }
  return FileLock(fd);
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::flock(fd_, LOCK_UN);
}

std::string errno_text(const std::string& what, const std::filesystem::path& path) {
  return fmt::format("{} {}: {}", what, path.string(), std::strerror(errno));
}

base::Result<Fd> open_file(const std::filesystem::path& path, int flags, int mode) {
  int fd = -1;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return base::err(errno_text("cannot open", path));
  return Fd(fd);
}

base::Result<std::optional<std::vector<std::uint8_t>>> read_file(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return std::optional<std::vector<std::uint8_t>>{};
    return base::err(errno_text("cannot open", path));
  }
  Fd owned(fd);
  std::vector<std::uint8_t> out;
  std::uint8_t buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return base::err(errno_text("cannot read", path));
    if (n == 0) break;
    out.insert(out.end(), buf, buf + n);
  }
  return std::optional<std::vector<std::uint8_t>>{std::move(out)};
}

base::Status write_all_at(int fd, std::span<const std::uint8_t> data, off_t offset) {
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::pwrite(fd, data.data() + done, data.size() - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return base::err(fmt::format("write failed: {}", std::strerror(n < 0 ? errno : EIO)));
    done += static_cast<std::size_t>(n);
  }
  return {};
}

base::Status sync_fd(int fd, const std::filesystem::path& path) {
  while (::fsync(fd) != 0) {
    if (errno != EINTR) return base::err(errno_text("cannot sync", path));
  }
  return {};
}

base::Status sync_folder(const std::filesystem::path& folder) {
  auto fd = open_file(folder, O_RDONLY | O_DIRECTORY);
  if (!fd) return base::err(fd.error());
  return sync_fd(fd->get(), folder);
}

base::Status create_folders(const std::filesystem::path& folder) {
  std::filesystem::path target = folder.lexically_normal();
  if (!target.has_filename() && target.has_parent_path()) target = target.parent_path();  // a trailing slash
  std::vector<std::filesystem::path> missing;
  for (std::filesystem::path p = target; !p.empty();) {
    struct stat st {};
    if (::stat(p.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode))
        return base::err(fmt::format("cannot create {}: {} is not a folder", target.string(), p.string()));
      break;
    }
    if (errno != ENOENT) return base::err(errno_text("cannot look at", p));
    missing.push_back(p);
    std::filesystem::path parent = p.parent_path();
    if (parent == p) break;
    p = parent;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) return base::err(errno_text("cannot create", *it));
    const std::filesystem::path parent = it->has_parent_path() ? it->parent_path() : std::filesystem::path(".");
    if (auto ok = sync_folder(parent); !ok) return ok;
  }
  return {};
}

base::Status replace_file(const std::filesystem::path& path, std::span<const std::uint8_t> data) {
  std::filesystem::path tmp = path;
  tmp += ".tmp";
  {
    auto fd = open_file(tmp, O_WRONLY | O_CREAT | O_TRUNC);
    if (!fd) return base::err(fd.error());
    if (auto ok = write_all_at(fd->get(), data, 0); !ok) {
      ::unlink(tmp.c_str());
      return ok;
    }
    if (auto ok = sync_fd(fd->get(), tmp); !ok) {
      ::unlink(tmp.c_str());
      return ok;
    }
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    auto e = errno_text("cannot rename onto", path);
    ::unlink(tmp.c_str());
    return base::err(e);
  }
  return sync_folder(path.parent_path());
}

base::Result<bool> link_as(const std::filesystem::path& path, const std::filesystem::path& to) {
  std::filesystem::path tmp = to;
  tmp += ".tmp";
  ::unlink(tmp.c_str());  // left by an interrupted earlier try
  if (::link(path.c_str(), tmp.c_str()) != 0) {
    if (errno == ENOENT) return false;
    return base::err(errno_text("cannot link", path));
  }
  if (::rename(tmp.c_str(), to.c_str()) != 0) {
    auto e = errno_text("cannot rename onto", to);
    ::unlink(tmp.c_str());
    return base::err(e);
  }
  return true;
}

std::filesystem::path aside_name(const std::filesystem::path& path, const std::string& suffix) {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &tm);
  for (int i = 0;; ++i) {
    std::filesystem::path p = path;
    p += i == 0 ? fmt::format(".{}-{}", suffix, stamp) : fmt::format(".{}-{}-{}", suffix, stamp, i);
    std::error_code ec;
    if (!std::filesystem::exists(p, ec) && !ec) return p;
    if (i > 1000) return p;
  }
}

}  // namespace zarn_ui::persist::detail

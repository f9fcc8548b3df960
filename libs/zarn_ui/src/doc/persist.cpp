#include "zarn_ui/persist.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <unordered_set>

#include <fmt/format.h>
#include <spdlog/spdlog.h>

#include "persist_files.hpp"
#include "persist_records.hpp"

namespace zarn_ui::persist {

namespace fs = std::filesystem;
using namespace detail;

namespace {

constexpr std::uint64_t kCompactLogBytes = 4u << 20;

Generation new_generation() {
  auto bytes = automerge::ActorId::random().to_bytes();
  Generation g{};
  std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(g.size()), g.begin());
  return g;
}

void add_status(std::string& status, const std::string& text) {
  spdlog::warn("{}", text);
  if (!status.empty()) status += " ";
  status += text;
}

// The log's header and the bytes from `offset` on, read through one descriptor.
struct LogTail {
  Bytes header;
  Bytes tail;
  std::uint64_t size = 0;
};

base::Result<std::optional<LogTail>> read_log_tail(const fs::path& path, std::uint64_t offset) {
  int raw = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (raw < 0) {
    if (errno == ENOENT) return std::optional<LogTail>{};
    return base::err(errno_text("cannot open", path));
  }
  Fd fd(raw);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return base::err(errno_text("cannot stat", path));
  LogTail out;
  out.size = static_cast<std::uint64_t>(st.st_size);
  auto read_at = [&](Bytes& into, std::uint64_t from, std::uint64_t to) -> bool {
    if (to <= from) return true;
    into.resize(static_cast<std::size_t>(to - from));
    std::size_t done = 0;
    while (done < into.size()) {
      ssize_t n = ::pread(fd.get(), into.data() + done, into.size() - done, static_cast<off_t>(from + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) break;  // shrank while reading: keep what is there
      done += static_cast<std::size_t>(n);
    }
    into.resize(done);
    return true;
  };
  if (!read_at(out.header, 0, std::min<std::uint64_t>(kHeaderSize, out.size)) ||
      !read_at(out.tail, std::max<std::uint64_t>(offset, kHeaderSize), out.size)) {
    return base::err(errno_text("cannot read", path));
  }
  return std::optional<LogTail>{std::move(out)};
}

}  // namespace

struct PersistedDoc::Disk {
  fs::path folder;
  fs::path snapshot;
  fs::path log;
  Fd lock_fd;
  std::optional<Generation> generation;  // of the log we have read; none when there is no log
  std::uint64_t offset = 0;              // bytes of the log read or written so far
  std::unordered_set<automerge::ChangeHash> on_disk;
  std::size_t checked = 0;  // history entries already compared with on_disk
  std::vector<automerge::ChangeHash> flushed_heads;
};

namespace {

using Disk = PersistedDoc::Disk;

base::Status move_aside(const fs::path& path, const std::string& suffix, fs::path& moved_to) {
  moved_to = aside_name(path, suffix);
  if (::rename(path.c_str(), moved_to.c_str()) != 0) {
    if (errno == ENOENT) {
      moved_to.clear();
      return {};
    }
    return base::err(errno_text("cannot move aside", path));
  }
  return sync_folder(path.parent_path());
}

// Merges the changes into the document; each one counts as stored on disk.
base::Status take_changes(automerge::AutoCommit& doc, Disk& disk, const std::vector<automerge::Change>& changes) {
  if (auto ok = doc.apply_changes(changes); !ok) return ok;
  for (const auto& c : changes) disk.on_disk.insert(c.hash);
  return {};
}

// Reads the snapshot. One that cannot be read is moved aside together with the log that builds
// on it, and the document starts empty; an error only when moving it aside fails.
base::Status read_snapshot(automerge::AutoCommit& doc, Disk& disk, std::string& status) {
  auto file = read_file(disk.snapshot);
  std::string problem;
  if (file && !file->has_value()) return {};
  if (!file) {
    problem = file.error();
  } else if (!header_ok(FileKind::Snapshot, **file)) {
    problem = "bad header";
  } else {
    auto recs = parse_records(**file, kHeaderSize);
    if (recs.damaged || recs.payloads.size() != 1) {
      problem = recs.problem.empty() ? "not one record" : recs.problem;
    } else {
      auto changes = automerge::AutoCommit::load_changes(recs.payloads[0]);
      if (changes) {
        bool was_empty = doc.change_count() == 0 && doc.queued_count() == 0;
        if (auto ok = take_changes(doc, disk, *changes); ok) return {};
        problem = "bad document";
        // Each change is checked before it is applied, so a partly read snapshot corrupts
        // nothing; a document that started empty starts empty again.
        if (was_empty) {
          doc = automerge::AutoCommit(doc.get_actor());
          disk.on_disk.clear();
        }
      } else {
        problem = changes.error();
      }
    }
  }
  fs::path snap_to, log_to;
  if (auto ok = move_aside(disk.snapshot, "unreadable", snap_to); !ok) return ok;
  if (auto ok = move_aside(disk.log, "unreadable", log_to); !ok) return ok;
  disk.generation.reset();
  disk.offset = 0;
  add_status(status, fmt::format("The saved document could not be read ({}); it was moved to {}{} and an empty "
                                 "document was started.",
                                 problem, snap_to.string(), log_to.empty() ? "" : " with its log beside it"));
  return {};
}

// Reads log records from the tail and merges them. A damaged end is cut back to the last good
// record, after the whole file has been copied beside it.
base::Status take_records(automerge::AutoCommit& doc, Disk& disk, const LogTail& log, std::uint64_t start,
                          std::string& status) {
  auto recs = parse_records(log.tail, 0);
  std::size_t good = 0;
  std::string problem = recs.problem;
  std::vector<automerge::Change> changes;
  for (std::size_t i = 0; i < recs.payloads.size(); ++i) {
    auto c = automerge::Change::from_bytes(recs.payloads[i]);
    if (!c) {
      problem = c.error();
      break;
    }
    changes.push_back(std::move(*c));
    good = recs.ends[i];
  }
  if (auto ok = take_changes(doc, disk, changes); !ok) return ok;
  disk.offset = start + good;
  if (good == log.tail.size()) return {};

  auto copy = read_file(disk.log);
  fs::path kept = aside_name(disk.log, "damaged");
  if (!copy || !copy->has_value()) return base::err("cannot copy the damaged log");
  if (auto ok = replace_file(kept, **copy); !ok) return ok;
  auto fd = open_file(disk.log, O_WRONLY);
  if (!fd) return base::err(fd.error());
  if (::ftruncate(fd->get(), static_cast<off_t>(disk.offset)) != 0)
    return base::err(errno_text("cannot cut", disk.log));
  if (auto ok = sync_fd(fd->get(), disk.log); !ok) return ok;
  add_status(status, fmt::format("The document log had a damaged end ({}); it was cut back to the last good "
                                 "record and the damaged file was kept as {}.",
                                 problem, kept.string()));
  return {};
}

// Reads the whole log (after the snapshot). A log whose header is unreadable is moved aside.
base::Status read_whole_log(automerge::AutoCommit& doc, Disk& disk, std::string& status) {
  disk.generation.reset();
  disk.offset = 0;
  auto log = read_log_tail(disk.log, kHeaderSize);
  if (log && !log->has_value()) return {};
  if (!log || !header_ok(FileKind::Log, (*log)->header)) {
    fs::path to;
    if (auto ok = move_aside(disk.log, "unreadable", to); !ok) return ok;
    add_status(status, fmt::format("The document log could not be read ({}); it was moved to {}.",
                                   log ? "bad header" : log.error(), to.string()));
    return {};
  }
  disk.generation = header_generation((*log)->header);
  return take_records(doc, disk, **log, kHeaderSize, status);
}

// Brings in what other processes wrote since we last looked. Called under the lock.
base::Status pull(automerge::AutoCommit& doc, Disk& disk, std::string& status) {
  auto log = read_log_tail(disk.log, disk.offset);
  if (!log) return base::err(log.error());
  bool same = log->has_value() && disk.generation && header_ok(FileKind::Log, (*log)->header) &&
              header_generation((*log)->header) == *disk.generation && (*log)->size >= disk.offset;
  if (same) return take_records(doc, disk, **log, disk.offset, status);
  if (!log->has_value() && !disk.generation) return {};  // still no log
  // The log was replaced (compacted elsewhere): the snapshot holds everything it held. What is
  // on disk is learnt afresh, so anything that vanished from the files is written again.
  disk.on_disk.clear();
  disk.checked = 0;
  if (auto ok = read_snapshot(doc, disk, status); !ok) return ok;
  return read_whole_log(doc, disk, status);
}

base::Status create_log(Disk& disk) {
  Generation g = new_generation();
  if (auto ok = replace_file(disk.log, file_header(FileKind::Log, g)); !ok) return ok;
  disk.generation = g;
  disk.offset = kHeaderSize;
  return {};
}

// Appends the changes that are not on disk yet, then fsyncs. Called under the lock.
base::Result<std::uint64_t> append_new(automerge::AutoCommit& doc, Disk& disk) {
  Bytes buf;
  std::vector<automerge::ChangeHash> added;
  for (const auto& c : doc.changes_after(disk.checked)) {
    if (disk.on_disk.count(c.hash)) continue;
    append_record(buf, c.bytes);
    added.push_back(c.hash);
  }
  if (!buf.empty()) {
    if (!disk.generation) {
      if (auto ok = create_log(disk); !ok) return base::err(ok.error());
    }
    auto fd = open_file(disk.log, O_WRONLY);
    if (!fd) return base::err(fd.error());
    auto ok = write_all_at(fd->get(), buf, static_cast<off_t>(disk.offset));
    if (ok) ok = sync_fd(fd->get(), disk.log);
    if (!ok) {
      // Leave no partial record behind; the changes stay pending for the next flush.
      (void)!::ftruncate(fd->get(), static_cast<off_t>(disk.offset));
      return base::err(ok.error());
    }
    disk.offset += buf.size();
    disk.on_disk.insert(added.begin(), added.end());
  }
  disk.checked = doc.change_count();
  return static_cast<std::uint64_t>(buf.size());
}

base::Status compact_locked(automerge::AutoCommit& doc, Disk& disk) {
  Bytes snap = file_header(FileKind::Snapshot, Generation{});
  auto saved = doc.save();
  append_record(snap, saved);
  if (auto ok = replace_file(disk.snapshot, snap); !ok) return ok;
  // A crash here leaves the old log beside a snapshot that already holds it: harmless.
  if (auto ok = create_log(disk); !ok) return ok;
  for (const auto& c : doc.changes_after(disk.checked)) disk.on_disk.insert(c.hash);
  disk.checked = doc.change_count();
  return {};
}

bool plain_name(const std::string& s) {
  return !s.empty() && s != "." && s != ".." && s.find('/') == std::string::npos && s.find('\0') == std::string::npos;
}

}  // namespace

PersistedDoc::PersistedDoc() = default;
PersistedDoc::PersistedDoc(PersistedDoc&&) noexcept = default;
PersistedDoc& PersistedDoc::operator=(PersistedDoc&&) noexcept = default;
PersistedDoc::~PersistedDoc() = default;

PersistedDoc PersistedDoc::in_memory() { return PersistedDoc(); }

fs::path PersistedDoc::folder() const { return disk_ ? disk_->folder : fs::path(); }

base::Status PersistedDoc::flush() {
  if (!disk_) {
    doc_.commit();
    return {};
  }
  auto heads = doc_.get_heads();
  if (heads == disk_->flushed_heads) return {};
  auto lock = FileLock::acquire(disk_->lock_fd.get());
  if (!lock) return base::err(lock.error());
  if (auto ok = pull(doc_, *disk_, status_); !ok) return ok;
  auto written = append_new(doc_, *disk_);
  if (!written) return base::err(written.error());
  bytes_appended_ += *written;
  disk_->flushed_heads = doc_.get_heads();
  if (disk_->offset > kCompactLogBytes) {
    if (auto ok = compact_locked(doc_, *disk_); !ok) spdlog::warn("document compaction failed: {}", ok.error());
  }
  return {};
}

base::Status PersistedDoc::refresh() {
  if (!disk_) return {};
  doc_.commit();
  auto lock = FileLock::acquire(disk_->lock_fd.get());
  if (!lock) return base::err(lock.error());
  return pull(doc_, *disk_, status_);
}

base::Status PersistedDoc::compact() {
  if (!disk_) return {};
  auto lock = FileLock::acquire(disk_->lock_fd.get());
  if (!lock) return base::err(lock.error());
  if (auto ok = pull(doc_, *disk_, status_); !ok) return ok;
  if (auto ok = compact_locked(doc_, *disk_); !ok) return ok;
  disk_->flushed_heads = doc_.get_heads();
  return {};
}

base::Result<fs::path> data_folder(const std::string& app_id) {
  if (!plain_name(app_id)) return base::err(fmt::format("not a usable application id: \"{}\"", app_id));
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return fs::path(xdg) / app_id;  // a relative value is ignored, as XDG says
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return base::err("neither XDG_DATA_HOME nor HOME is set");
  return fs::path(home) / ".local" / "share" / app_id;
}

PersistedDoc open(const std::string& app_id) {
  auto folder = data_folder(app_id);
  if (!folder) {
    PersistedDoc doc = PersistedDoc::in_memory();
    add_status(doc.status_, fmt::format("The document is kept in memory only: {}.", folder.error()));
    return doc;
  }
  return open_in(*folder);
}

PersistedDoc open_in(const fs::path& folder) {
  PersistedDoc p;
  auto in_memory = [&](const std::string& why) {
    p.doc_ = automerge::AutoCommit();
    p.disk_.reset();
    add_status(p.status_, fmt::format("The document is kept in memory only: {}.", why));
    return std::move(p);
  };
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return in_memory(fmt::format("cannot create {}: {}", folder.string(), ec.message()));
  auto disk = std::make_unique<Disk>();
  disk->folder = folder;
  disk->snapshot = folder / "document.snapshot";
  disk->log = folder / "document.log";
  auto lock_fd = open_file(folder / "document.lock", O_RDWR | O_CREAT);
  if (!lock_fd) return in_memory(lock_fd.error());
  disk->lock_fd = std::move(*lock_fd);
  {
    auto lock = FileLock::acquire(disk->lock_fd.get());
    if (!lock) return in_memory(lock.error());
    if (auto ok = read_snapshot(p.doc_, *disk, p.status_); !ok) return in_memory(ok.error());
    if (auto ok = read_whole_log(p.doc_, *disk, p.status_); !ok) return in_memory(ok.error());
    if (disk->generation && disk->offset > kHeaderSize) {
      if (auto ok = compact_locked(p.doc_, *disk); !ok) spdlog::warn("document compaction failed: {}", ok.error());
    }
    disk->checked = p.doc_.change_count();
    disk->flushed_heads = p.doc_.get_heads();
  }
  p.disk_ = std::move(disk);
  return p;
}

}  // namespace zarn_ui::persist

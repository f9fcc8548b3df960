#include "zarn_ui/persist.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include <fmt/format.h>
#include <spdlog/spdlog.h>

#include "persist_disk.hpp"

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
  // Should the new snapshot ever be unreadable, the one it replaces and its log still hold it all.
  if (auto ok = keep_previous_generation(disk); !ok) return ok;
  if (auto ok = replace_file(disk.snapshot, snap); !ok) return ok;
  // A crash here leaves the old log beside a snapshot that already holds it: harmless.
  if (auto ok = create_log(disk); !ok) return ok;
  disk.on_disk.clear();
  for (const auto& h : doc.change_hashes()) disk.on_disk.insert(h);
  disk.checked = doc.change_count();
  disk.files_changed = false;
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

bool PersistedDoc::is_persistent() const { return disk_ && !disk_->read_only; }

bool PersistedDoc::is_read_only() const { return disk_ && disk_->read_only; }

base::Status PersistedDoc::flush() {
  if (!is_persistent()) {
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
  if (!is_persistent()) return {};
  doc_.commit();
  auto lock = FileLock::acquire(disk_->lock_fd.get());
  if (!lock) return base::err(lock.error());
  return pull(doc_, *disk_, status_);
}

base::Status PersistedDoc::compact() {
  if (!is_persistent()) return {};
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
  if (auto made = create_folders(folder); !made) return in_memory(made.error());
  auto disk = std::make_unique<Disk>();
  disk->folder = folder;
  disk->snapshot = folder / "document.snapshot";
  disk->log = folder / "document.log";
  disk->previous_snapshot = folder / "document.snapshot.previous";
  disk->previous_log = folder / "document.log.previous";
  if (auto lock_fd = open_file(folder / "document.lock", O_RDWR | O_CREAT)) {
    disk->lock_fd = std::move(*lock_fd);
  } else {
    // A folder we cannot write to: show what it holds and touch nothing. A writer elsewhere
    // holds the lock while it appends, so it is taken when the lock file can be read.
    disk->read_only = true;
    if (auto readable = open_file(folder / "document.lock", O_RDONLY)) disk->lock_fd = std::move(*readable);
    add_status(p.status_, fmt::format("The document folder {} cannot be written ({}): what is stored is shown, but "
                                      "changes will not be saved.",
                                      folder.string(), lock_fd.error()));
  }
  {
    std::optional<FileLock> lock;
    if (disk->lock_fd.valid()) {
      auto taken = FileLock::acquire(disk->lock_fd.get());
      if (!taken) return in_memory(taken.error());
      lock.emplace(std::move(*taken));
    }
    if (auto ok = read_snapshot(p.doc_, *disk, p.status_); !ok) return in_memory(ok.error());
    if (auto ok = read_whole_log(p.doc_, *disk, p.status_); !ok) return in_memory(ok.error());
    report_waiting(p.doc_, 0, p.status_);
    disk->checked = p.doc_.change_count();
    // Fold the log into the snapshot; after damage was set aside this also writes back what was
    // read from the files set aside, which the files in place no longer hold.
    if (!disk->read_only && (disk->offset > kHeaderSize || disk->files_changed)) {
      if (auto ok = compact_locked(p.doc_, *disk); !ok) {
        spdlog::warn("document compaction failed: {}", ok.error());
        disk->checked = 0;  // the next flush appends whatever the files lack
      }
    }
    disk->flushed_heads = p.doc_.get_heads();
  }
  p.disk_ = std::move(disk);
  return p;
}

}  // namespace zarn_ui::persist

// Reading the document files into the document: the snapshot, the log, and what other processes
// appended since.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fmt/format.h>
#include <spdlog/spdlog.h>

#include "persist_disk.hpp"

namespace zarn_ui::persist::detail {

namespace fs = std::filesystem;

namespace {

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

base::Status move_aside(Disk& disk, const fs::path& path, const std::string& suffix, fs::path& moved_to) {
  moved_to = aside_name(path, suffix);
  if (::rename(path.c_str(), moved_to.c_str()) != 0) {
    if (errno == ENOENT) {
      moved_to.clear();
      return {};
    }
    return base::err(errno_text("cannot move aside", path));
  }
  disk.files_changed = true;
  return sync_folder(path.parent_path());
}

// A document that holds nothing yet becomes the saved one, read whole (its state, when the
// snapshot keeps one, without applying its history again). False, and the document as it was,
// when it holds something or the snapshot does not load whole.
bool load_whole(automerge::AutoCommit& doc, std::span<const std::uint8_t> saved) {
  doc.commit();
  if (doc.change_count() != 0 || doc.queued_count() != 0) return false;
  auto loaded = automerge::AutoCommit::load(saved);
  if (!loaded) return false;
  const automerge::ActorId actor = doc.get_actor();
  doc = std::move(*loaded);
  doc.set_actor(actor);
  return true;
}

// Applies the changes one at a time. Returns how many were taken; `problem` names the first
// refusal. A change that waits for its dependencies counts as taken.
std::size_t take_each(automerge::AutoCommit& doc, const std::vector<automerge::Change>& changes,
                      std::vector<automerge::ChangeHash>& taken, std::string& problem) {
  std::size_t refused = 0;
  for (const auto& c : changes) {
    if (auto ok = doc.apply_changes({c}); !ok) {
      if (problem.empty()) problem = ok.error();
      ++refused;
      continue;
    }
    taken.push_back(c.hash);
  }
  return refused;
}

// Reads log records from the tail and merges them, one change at a time. A damaged record, or
// one the document refuses, ends the log: the whole file is copied beside it, then the log is
// cut back to the last record taken.
base::Status take_records(automerge::AutoCommit& doc, Disk& disk, const LogTail& log, std::uint64_t start,
                          std::string& status) {
  auto recs = parse_records(log.tail, 0);
  std::size_t good = 0;
  std::string problem = recs.problem;
  for (std::size_t i = 0; i < recs.payloads.size(); ++i) {
    auto c = automerge::Change::from_bytes(recs.payloads[i]);
    if (!c) {
      problem = c.error();
      break;
    }
    if (auto ok = doc.apply_changes({*c}); !ok) {
      problem = fmt::format("a change the document refused: {}", ok.error());
      break;
    }
    disk.on_disk.insert(c->hash);
    good = recs.ends[i];
  }
  disk.offset = start + good;
  if (good == log.tail.size()) return {};

  if (disk.read_only) {
    add_status(status, fmt::format("The document log has a damaged end ({}); what came before it was read, and the "
                                   "file was left as it is.",
                                   problem));
    return {};
  }
  auto copy = read_file(disk.log);
  fs::path kept = aside_name(disk.log, "damaged");
  if (!copy || !copy->has_value()) return base::err("cannot copy the damaged log");
  if (auto ok = replace_file(kept, **copy); !ok) return ok;
  auto fd = open_file(disk.log, O_WRONLY);
  if (!fd) return base::err(fd.error());
  if (::ftruncate(fd->get(), static_cast<off_t>(disk.offset)) != 0)
    return base::err(errno_text("cannot cut", disk.log));
  if (auto ok = sync_fd(fd->get(), disk.log); !ok) return ok;
  disk.files_changed = true;
  add_status(status, fmt::format("The document log had a damaged end ({}); it was cut back to the last good "
                                 "record and the damaged file was kept as {}.",
                                 problem, kept.string()));
  return {};
}

// The changes of a saved snapshot's record: the whole saved state into an empty document, else
// one change at a time. Returns a problem, or nothing.
std::string take_saved(automerge::AutoCommit& doc, std::span<const std::uint8_t> saved,
                       std::vector<automerge::ChangeHash>& taken) {
  std::string problem;
  if (load_whole(doc, saved)) {
    taken = doc.change_hashes();
  } else if (auto changes = automerge::AutoCommit::load_changes(saved); !changes) {
    problem = changes.error();
  } else if (std::size_t refused = take_each(doc, *changes, taken, problem); refused > 0) {
    problem = fmt::format("{} of its {} changes refused, the first: {}", refused, changes->size(), problem);
  }
  return problem;
}

// Reads the previous generation (its snapshot, then its log, each as far as it can be read) into
// the document, changing neither file. The number of changes they held; none without either file.
std::optional<std::size_t> read_previous_generation(automerge::AutoCommit& doc, const Disk& disk) {
  auto snapshot = read_file(disk.previous_snapshot);
  auto log = read_file(disk.previous_log);
  const bool have_snapshot = snapshot && snapshot->has_value();
  const bool have_log = log && log->has_value();
  if (!have_snapshot && !have_log) return std::nullopt;
  std::vector<automerge::ChangeHash> taken;
  if (have_snapshot && header_ok(FileKind::Snapshot, **snapshot)) {
    auto recs = parse_records(**snapshot, kHeaderSize);
    if (!recs.payloads.empty()) (void)take_saved(doc, recs.payloads[0], taken);
  }
  std::size_t count = taken.size();
  if (have_log && header_ok(FileKind::Log, **log)) {
    auto recs = parse_records(**log, kHeaderSize);
    for (const auto& payload : recs.payloads) {
      auto c = automerge::Change::from_bytes(payload);
      if (!c || !doc.apply_changes({*c})) break;
      ++count;
    }
  }
  return count;
}

}  // namespace

base::Status keep_previous_generation(Disk& disk) {
  auto snapshot = link_as(disk.snapshot, disk.previous_snapshot);
  if (!snapshot) return base::err(snapshot.error());
  if (!*snapshot) {
    // No snapshot (none yet, or it was set aside): a previous generation stays as it is. The first
    // compaction keeps the log, which then holds every change from the start.
    std::error_code ec;
    if (fs::exists(disk.previous_snapshot, ec) || fs::exists(disk.previous_log, ec)) return {};
  }
  auto log = link_as(disk.log, disk.previous_log);
  if (!log) return base::err(log.error());
  // A snapshot without its log: an older log kept before would not belong to it.
  if (*snapshot && !*log) ::unlink(disk.previous_log.c_str());
  return sync_folder(disk.folder);
}

void add_status(std::string& status, const std::string& text) {
  spdlog::warn("{}", text);
  if (!status.empty()) status += " ";
  status += text;
}

base::Status read_snapshot(automerge::AutoCommit& doc, Disk& disk, std::string& status) {
  auto file = read_file(disk.snapshot);
  const auto previous = [&] {
    const auto read = read_previous_generation(doc, disk);
    if (!read) return std::string();
    // Nothing of them is in the files now in place: they are written again.
    disk.files_changed = true;
    return fmt::format(" The previous snapshot and its log were read in its place ({} changes).", *read);
  };
  if (file && !file->has_value()) {
    const std::string instead = previous();
    if (!instead.empty()) add_status(status, "The saved document snapshot is missing." + instead);
    return {};
  }
  std::string problem;
  std::vector<automerge::ChangeHash> taken;
  if (!file) {
    problem = file.error();
  } else if (!header_ok(FileKind::Snapshot, **file)) {
    problem = "bad header";
  } else {
    auto recs = parse_records(**file, kHeaderSize);
    if (recs.damaged || recs.payloads.size() != 1) {
      problem = recs.problem.empty() ? "not one record" : recs.problem;
    } else {
      problem = take_saved(doc, recs.payloads[0], taken);
    }
  }
  if (problem.empty()) {
    disk.on_disk.insert(taken.begin(), taken.end());
    return {};
  }
  const std::string kept =
      taken.empty() ? std::string() : fmt::format(" The {} changes that could be read were kept.", taken.size());
  if (disk.read_only) {
    add_status(status,
               fmt::format("The saved document snapshot could not be read whole ({}); it was left as it is.{}{}",
                           problem, kept, previous()));
    return {};
  }
  fs::path moved_to;
  if (auto ok = move_aside(disk, disk.snapshot, "unreadable", moved_to); !ok) return ok;
  add_status(status, fmt::format("The saved document snapshot could not be read whole ({}); it was moved to {}.{}{}",
                                 problem, moved_to.string(), kept, previous()));
  return {};
}

base::Status read_whole_log(automerge::AutoCommit& doc, Disk& disk, std::string& status) {
  disk.generation.reset();
  disk.offset = 0;
  auto log = read_log_tail(disk.log, kHeaderSize);
  if (log && !log->has_value()) return {};
  if (!log || !header_ok(FileKind::Log, (*log)->header)) {
    const std::string problem = log ? "bad header" : log.error();
    if (disk.read_only) {
      add_status(status, fmt::format("The document log could not be read ({}); it was left as it is.", problem));
      return {};
    }
    fs::path to;
    if (auto ok = move_aside(disk, disk.log, "unreadable", to); !ok) return ok;
    add_status(status,
               fmt::format("The document log could not be read ({}); it was moved to {}.", problem, to.string()));
    return {};
  }
  disk.generation = header_generation((*log)->header);
  return take_records(doc, disk, **log, kHeaderSize, status);
}

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

void report_waiting(const automerge::AutoCommit& doc, std::size_t before, std::string& status) {
  const std::size_t waiting = doc.queued_count();
  if (waiting <= before) return;
  add_status(status, fmt::format("{} saved changes build on changes that are on no file (the snapshot is missing or "
                                 "could not be read); they are kept, but what they change cannot be shown.",
                                 waiting - before));
}

}  // namespace zarn_ui::persist::detail

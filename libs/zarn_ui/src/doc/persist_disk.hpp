#pragma once
// The on-disk side of a persisted document: where its files are, how much of the log has been
// read, which changes the files hold, and the readers that bring the files into the document.
// A reader never loses a readable change: damage is cut off or moved aside (and kept), and what
// could be read stays in the document. In a read-only folder nothing is moved or cut.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "automerge/automerge.hpp"
#include "base/result.hpp"
#include "persist_files.hpp"
#include "persist_records.hpp"
#include "zarn_ui/persist.hpp"

namespace zarn_ui::persist {

struct PersistedDoc::Disk {
  std::filesystem::path folder;
  std::filesystem::path snapshot;
  std::filesystem::path log;
  // The generation the last compaction replaced: its snapshot and the log that went with it, which
  // together hold everything the newest snapshot holds. Read only when that one is unreadable.
  std::filesystem::path previous_snapshot;
  std::filesystem::path previous_log;
  detail::Fd lock_fd;  // none in a read-only folder without a lock file
  bool read_only = false;
  std::optional<detail::Generation> generation;       // of the log we have read; none when there is no log
  std::uint64_t offset = 0;                           // bytes of the log read or written so far
  std::unordered_set<automerge::ChangeHash> on_disk;  // changes the current files hold
  std::size_t checked = 0;                            // history entries already compared with on_disk
  std::vector<automerge::ChangeHash> flushed_heads;
  // Set when a file was moved aside or cut, so the document holds changes the files no longer do.
  bool files_changed = false;
};

namespace detail {

using Disk = PersistedDoc::Disk;

// Adds a sentence to the status and logs it.
void add_status(std::string& status, const std::string& text);

// Reads the snapshot into the document. One that cannot be read whole is moved aside; the
// changes read from it stay, and the previous generation is read in its place. So is the previous
// generation when the snapshot is missing. An error only when moving it aside fails.
base::Status read_snapshot(automerge::AutoCommit& doc, Disk& disk, std::string& status);

// Before a compaction replaces the snapshot and the log: keeps them as the previous generation
// (hard links, so nothing is copied). Without a snapshot to keep, the previous generation stays as
// it is, but the very first compaction keeps the log that holds everything so far.
base::Status keep_previous_generation(Disk& disk);

// Reads the whole log. A log whose header is unreadable is moved aside; a damaged record, or one
// the document refuses, ends the log there: the file is copied aside and cut back.
base::Status read_whole_log(automerge::AutoCommit& doc, Disk& disk, std::string& status);

// Brings in what other processes wrote since we last looked. Called under the lock.
base::Status pull(automerge::AutoCommit& doc, Disk& disk, std::string& status);

// Says so when changes wait for dependencies that no file holds (a missing or unreadable
// snapshot beneath its log); `before` is the count that waited before reading.
void report_waiting(const automerge::AutoCommit& doc, std::size_t before, std::string& status);

}  // namespace detail
}  // namespace zarn_ui::persist

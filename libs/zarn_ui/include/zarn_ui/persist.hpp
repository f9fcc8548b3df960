#pragma once
// The application's durable document: a snapshot plus an append-only log of changes under
// $XDG_DATA_HOME/<app_id>/ (default ~/.local/share/<app_id>/). Every record on disk is
// length-prefixed and checksummed. `flush` appends what changed and fsyncs it; the frame loop
// calls it once per frame, so a commit is on disk before the next frame is shown. Other
// processes on the same folder are merged in under an advisory lock before each append.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "automerge/automerge.hpp"
#include "base/result.hpp"

namespace zarn_ui::persist {

class PersistedDoc {
 public:
  // A document that lives only in memory (demonstrations, shots, tests).
  static PersistedDoc in_memory();

  PersistedDoc(PersistedDoc&&) noexcept;
  PersistedDoc& operator=(PersistedDoc&&) noexcept;
  ~PersistedDoc();

  automerge::AutoCommit& doc() { return doc_; }
  const automerge::AutoCommit& doc() const { return doc_; }

  // Writes the changes made since the last flush, when the heads moved. Nothing to do is
  // success; a failed write leaves the changes pending for the next flush.
  base::Status flush();
  // Reads what other processes appended, without writing anything.
  base::Status refresh();
  // Folds the log into a new snapshot (temp file, fsync, rename).
  base::Status compact();

  // True when changes are written to disk.
  bool is_persistent() const;
  // True for a folder that cannot be written: what it holds is shown, nothing is saved.
  bool is_read_only() const;
  // Empty after a clean open; otherwise what went wrong, for the app to show or log.
  const std::string& status() const { return status_; }
  std::filesystem::path folder() const;
  // Bytes appended to the log by this handle (records with their framing).
  std::uint64_t bytes_appended() const { return bytes_appended_; }

  struct Disk;  // the on-disk side; defined with the implementation

 private:
  PersistedDoc();
  friend PersistedDoc open(const std::string& app_id);
  friend PersistedDoc open_in(const std::filesystem::path& folder);

  automerge::AutoCommit doc_;
  std::unique_ptr<Disk> disk_;
  std::string status_;
  std::uint64_t bytes_appended_ = 0;
};

// The folder of an application's data: $XDG_DATA_HOME/<app_id> when XDG_DATA_HOME is an absolute
// path, else $HOME/.local/share/<app_id>. An error for an app id that is not a plain file name.
base::Result<std::filesystem::path> data_folder(const std::string& app_id);

// Opens (or starts) the application's document. Never fails: when the folder cannot be written,
// what it holds is read and nothing is saved; when it cannot be used at all, the document lives
// in memory. status() says why, and what was set aside.
PersistedDoc open(const std::string& app_id);
PersistedDoc open_in(const std::filesystem::path& folder);

}  // namespace zarn_ui::persist

#pragma once
// The framework's UI state: it owns the application's document. The window loop calls
// `flush` once per frame, after tick and events and before painting, so every committed
// change is on disk before the frame that shows it.

#include <string>

#include "automerge/automerge.hpp"
#include "base/result.hpp"
#include "zarn_ui/persist.hpp"

namespace zarn_ui::state {

class State {
 public:
  State();  // a fresh in-memory document (shots and demonstration states)
  explicit State(persist::PersistedDoc doc);

  automerge::AutoCommit& doc() { return doc_.doc(); }
  const automerge::AutoCommit& doc() const { return doc_.doc(); }
  persist::PersistedDoc& persisted() { return doc_; }

  // Writes what changed since the last frame. A failure is logged once per distinct error and
  // retried on the next frame.
  base::Status flush();

 private:
  persist::PersistedDoc doc_;
  std::string last_error_;
};

}  // namespace zarn_ui::state

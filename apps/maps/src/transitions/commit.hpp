#pragma once
// The one road of a lasting change, and where the model meets the document. Every committed
// action, from the transitions and the tick alike, goes through commit_action: the commit path's
// override when a test set one, else commit_state, which seeds the document when it holds no
// model, dispatches the action under "maps.action", and reads the persisted fields back at once.

#include <functional>
#include <optional>

#include "automerge/automerge.hpp"
#include "model/records.hpp"
#include "transitions/transient_overlay.hpp"
#include "zarn_ui/action_host.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

// Stands in for the action path when set: tests record what would be committed.
using CommitOverride = std::function<void(zarn_ui::state::State&, MapsAction)>;

struct CommitPath {
  // Dispatches every committed MapsAction (commit_state).
  zarn_ui::action_host::ActionHost action_host{"maps::actions"};
  // Where the document stood when the model last read it; the tick reads it again only once it
  // has moved (hydrate_if_moved).
  std::optional<automerge::AutoCommit::Mark> hydrated_at;
  // The first sync loads or seeds the document.
  bool doc_initialised = false;
  CommitOverride override;
};

void commit_action(MapModel& model, TransientOverlay& transient, CommitPath& commits, zarn_ui::state::State& state,
                   MapsAction action);

// The action path itself. Borrows `action`. Whatever the dispatch did, the model is hydrated from
// the document afterwards, and the direct values the action does not cover are laid over it again.
void commit_state(MapModel& model, TransientOverlay& transient, CommitPath& commits, zarn_ui::state::State& state,
                  const MapsAction& action);

// Once per tick. First: load or seed (an older "maps" entry is carried into "maps_v2"); later:
// hydrate when the document moved. The transient values are laid over again after every
// hydration.
void sync_document(MapModel& model, TransientOverlay& transient, CommitPath& commits, zarn_ui::state::State& state);
// Hydrates the model, unless the document stands where it stood at the last hydration.
void hydrate_if_moved(MapModel& model, const TransientOverlay& transient, CommitPath& commits,
                      const automerge::AutoCommit& document);

}  // namespace maps

#include "transitions/commit.hpp"

#include <utility>

#include "doc/action_path.hpp"
#include "doc/readers.hpp"
#include "doc/writers.hpp"

namespace maps {

namespace {

// Gives the document a "maps_v2" model: the older entry's when there is one, else the state's.
void seed_if_needed(const MapModel& model, automerge::AutoCommit& doc) {
  if (doc::holds_model_map(doc) || doc::carry_older_model(doc)) return;
  doc::save_map_model(doc, model);
}

}  // namespace

void commit_action(MapModel& model, TransientOverlay& transient, CommitPath& commits, zarn_ui::state::State& state,
                   MapsAction action) {
  if (commits.override) {
    commits.override(state, std::move(action));
    return;
  }
  commit_state(model, transient, commits, state, action);
}

void commit_state(MapModel& model, TransientOverlay& transient, CommitPath& commits, zarn_ui::state::State& state,
                  const MapsAction& action) {
  automerge::AutoCommit& doc = state.doc();
  seed_if_needed(model, doc);
  transient.cover(action);
  const auto context = doc::action_context_for(doc::kMapsAppId, doc::kMapsAppName, action);
  doc::dispatch_with_context(commits.action_host, doc, doc::kMapsActionType, action, context);
  // Read at once, so that what the action committed shows in this frame; the tick then finds
  // the document where this read left it.
  if (doc::hydrate_state(doc, model)) transient.apply(model);
  commits.hydrated_at = doc.mark();
}

void sync_document(MapModel& model, TransientOverlay& transient, CommitPath& commits, zarn_ui::state::State& state) {
  automerge::AutoCommit& document = state.doc();
  bool opening = false;
  if (!commits.doc_initialised) {
    commits.doc_initialised = true;
    opening = true;
    if (!doc::load_map_model(document)) {
      // A document without a model takes the whole current model.
      doc::save_map_model(document, model);
      return;
    }
    // A model read from the older "maps" entry is carried into "maps_v2" before any action
    // writes there, so its places, recents, regions and plans are not lost.
    doc::carry_older_model(document);
  }
  hydrate_if_moved(model, transient, commits, document);
  // The Transit mode shows journeys. The road route its journey search cleared is cleared over
  // the document only (which keeps it for the other modes), so a document opened in the Transit
  // mode clears it again: the session starts as the last one was left, not with both plans.
  if (opening && model.mode == TravelMode::Transit && model.route) transient.set_route(model, std::nullopt);
}

void hydrate_if_moved(MapModel& model, const TransientOverlay& transient, CommitPath& commits,
                      const automerge::AutoCommit& document) {
  automerge::AutoCommit::Mark mark = document.mark();
  // Unmoved, the document holds what the model read last, and the held transient values are
  // still laid over it.
  if (commits.hydrated_at == mark) return;
  if (doc::hydrate_state(document, model)) transient.apply(model);
  commits.hydrated_at = std::move(mark);
}

}  // namespace maps

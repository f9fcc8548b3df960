#include "app/dispatch.hpp"

#include <utility>

#include "app/maps_app.hpp"
#include "doc/action_path.hpp"
#include "doc/readers.hpp"
#include "doc/writers.hpp"

namespace maps {

namespace {

// Gives the document a "maps_v2" model: the older entry's when there is one, else the state's.
void seed_if_needed(MapsApp& app, automerge::AutoCommit& doc) {
  if (doc::holds_model_map(doc) || doc::carry_older_model(doc)) return;
  doc::save_map_model(doc, app.model);
}

}  // namespace

void commit_action(MapsApp& app, zarn_ui::state::State& state, MapsAction action) {
  if (app.commit_override) {
    app.commit_override(app, state, std::move(action));
    return;
  }
  commit_state(app, state, action);
}

void commit_state(MapsApp& app, zarn_ui::state::State& state, const MapsAction& action) {
  automerge::AutoCommit& doc = state.doc();
  seed_if_needed(app, doc);
  app.transient.cover(action);
  const auto context = doc::action_context_for(doc::kMapsAppId, doc::kMapsAppName, action);
  doc::dispatch_with_context(app.action_host, doc, doc::kMapsActionType, action, context);
  // Read at once, so that what the action committed shows in this frame; the tick then finds
  // the document where this read left it.
  if (doc::hydrate_state(doc, app.model)) app.transient.apply(app.model);
  app.hydrated_at = doc.mark();
}

}  // namespace maps

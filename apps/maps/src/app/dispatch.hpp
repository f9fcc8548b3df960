#pragma once
// The one road of a lasting change. Every committed action, from the transitions and the tick
// alike, goes through commit_action: the state's commit_override when a test set one, else
// commit_state, which seeds the document when it holds no model, dispatches the action under
// "maps.action", and reads the persisted fields back at once.

#include "model/records.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

class MapsApp;

void commit_action(MapsApp& app, zarn_ui::state::State& state, MapsAction action);

// The action path itself. Borrows `action`. Whatever the dispatch did, the state is hydrated from
// the document afterwards, and the direct values the action does not cover are laid over it again.
void commit_state(MapsApp& app, zarn_ui::state::State& state, const MapsAction& action);

}  // namespace maps

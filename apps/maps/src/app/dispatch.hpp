#pragma once
// The one road of a lasting change: seed the document when it holds no model, dispatch the
// action under "maps.action", and read the persisted fields back at once.

#include "model/records.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

class MapsApp;

// Borrows `action`. Whatever the dispatch did, the state is hydrated from the document afterwards,
// and the direct values the action does not cover are laid over it again.
void commit_state(MapsApp& app, zarn_ui::state::State& state, const MapsAction& action);

}  // namespace maps

#pragma once
// Choosing a place, taking it as the destination, and saving it.

#include <string>

#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

struct Session;

// Selects the place, centres the map on it and makes it the destination; a new selection
// empties the journey list. The side panel opens. While the Directions panel shows, a new
// destination is planned for at once; whether it was is returned.
bool select_place(Session& s, const std::string& id);
void set_destination_from_selection(Session& s);
// Stores the place in the state at once and, given a UI state, commits it too, so that it is still
// there after the next reading of the document. A stored saved mark stays set.
void keep_place(Session& s, zarn_ui::state::State* state, const Place& place);
// Flips the saved mark of the selected place through the action path.
void toggle_selected_saved(Session& s, zarn_ui::state::State& state);

}  // namespace maps

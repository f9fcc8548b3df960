#pragma once
// Choosing a place, taking it as the destination, and saving it.

#include <string>

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Selects the place, centres the map on it and makes it the destination; a new selection
// empties the journey list. The side panel opens.
void select_place(MapsApp& app, const std::string& id);
void set_destination_from_selection(MapsApp& app);
// Flips the saved mark of the selected place through the action path.
void toggle_selected_saved(MapsApp& app, zarn_ui::state::State& state);

}  // namespace maps

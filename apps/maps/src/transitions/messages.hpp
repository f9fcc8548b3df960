#pragma once
// The switchboard of the state: UI messages from input handling and the action surface, and the
// panel switch.

#include "messages/ui_message.hpp"
#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Applies one message; `state` is handed on to every commit.
void handle_ui_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state);
void set_panel(MapsApp& app, Panel panel);
// Asks for journeys again, in Transit mode only.
void refresh_transit_search(MapsApp& app);

}  // namespace maps

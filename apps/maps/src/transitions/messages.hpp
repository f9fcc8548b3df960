#pragma once
// The switchboard of the state: UI messages from input handling and the action surface, and the
// panel switch.

#include "messages/ui_message.hpp"
#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

struct Session;

// Applies one message; `state` is handed on to every commit.
void handle_ui_message(Session& s, const UiMessage& message, zarn_ui::state::State& state);
void set_panel(Session& s, Panel panel);
// Asks for journeys again, in Transit mode only.
void refresh_transit_search(Session& s);

}  // namespace maps

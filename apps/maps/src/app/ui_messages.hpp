#pragma once
// Where a view's message goes: the messages that open, close or move another view (the menu,
// the dialog, the offline panel, the floating navigation panel) are the window's own; every
// other one is a transition of the state.

#include "messages/ui_message.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

class MapsApp;

void route_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state);

}  // namespace maps

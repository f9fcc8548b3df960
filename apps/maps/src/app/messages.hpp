#pragma once
// The switchboard of the state: UI messages and map-control commands from input handling and
// the action surface, and the panel switch.

#include <cstdint>

#include "app/ui_message.hpp"
#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Map-control commands, in the order of the control column.
inline constexpr std::uint8_t kControlZoomIn = 0;
inline constexpr std::uint8_t kControlZoomOut = 1;
inline constexpr std::uint8_t kControlLocate = 2;
inline constexpr std::uint8_t kControlTraffic = 3;

// Applies one message; `state` is handed on to every commit.
void handle_ui_message(MapsApp& app, const UiMessage& message, zarn_ui::state::State& state);
void handle_map_control(MapsApp& app, std::uint8_t command);
void set_panel(MapsApp& app, Panel panel);
// Asks for journeys again, in Transit mode only.
void refresh_transit_search(MapsApp& app);
// Opens the overflow menu against the bottom-right corner of the bounds.
void open_overflow_menu(MapsApp& app);

// One lasting change through the action path (or the state's stand-in when set).
void commit_action(MapsApp& app, zarn_ui::state::State& state, MapsAction action);

}  // namespace maps

#pragma once
// What the offline maps panel does with the state: its commands, its presses and the events its
// field gets.

#include <cstdint>

#include "messages/offline_command.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Close, change the detail, download the area, delete one region (only the tiles no other region
// needs) or clear the cache; lasting changes are committed as actions at once. The files of a
// deletion or a clear go on the tile worker; the status tells what they freed when it answers.
// Opens the panel showing the last measured cache size; the tile worker measures the cache again
// and the figure follows when it answers, so a large cache never holds up the window.
void open_offline_panel(MapsApp& app);
void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& state);
// One event for the area-search field, with the window's clipboard and the state's clock.
bool offline_area_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale);
// A press while the panel is open: the field first, then the panel's areas, the last recorded
// first. False when neither took it.
bool offline_panel_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                         zarn_ui::state::State& state, double scale, zarn_ui::Point p);

}  // namespace maps

#pragma once
// The offline maps panel in the window: its commands carried out on the window's state, its
// presses, keys and field events, its typing pause and the tile store's answers to its cache jobs.

#include <cstdint>

#include "messages/offline_command.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

class MapsApp;

// Opens the panel (the menu's entry and the "m" key).
void open_offline_panel(MapsApp& app);
// A command of the panel's areas or of its accessibility entries.
void offline_panel_action(MapsApp& app, const OfflineCommand& command, zarn_ui::state::State& state);
// A press while the panel is open; false when neither its field nor its areas took it.
bool offline_panel_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                         zarn_ui::state::State& state, double scale, zarn_ui::Point p);
// A key while the panel is open.
void offline_panel_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                       std::uint32_t modifiers, double scale);
// Any other event for the area-search field (pointer moves, text an input method composes).
void offline_area_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale);
// The tick's steps: the typing pause's search, and the answers of the cache jobs.
void fire_area_search_deadline(MapsApp& app, zarn_ui::state::State& state);
void apply_offline_cache_jobs(MapsApp& app);

}  // namespace maps

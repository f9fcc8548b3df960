#pragma once
// Keys and presses of the route endpoint editor, turned into endpoint events for the state.

#include <cstdint>

#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// A key while a field is being edited; Escape ends the edit.
void endpoint_field_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                        std::uint32_t modifiers, double scale);
// An event for the field being edited (a key, composed text); what it changed goes to the state.
void endpoint_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale);
// A press on the editor's areas, the last recorded first; false when none is under the point.
// A chosen suggestion is kept through the state's document.
bool endpoint_editor_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale,
                           zarn_ui::Point p, zarn_ui::state::State& state);

}  // namespace maps

#pragma once
// Keys and presses of the route endpoint editor, turned into endpoint events for the state.

#include <cstdint>
#include <functional>

#include "directions/endpoint_editor.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// A key while a field is being edited: Escape ends the edit; Up and Down point at a suggestion,
// which Enter then chooses (it is kept through the state's document).
void endpoint_field_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                        std::uint32_t modifiers, zarn_ui::state::State& state, double scale);
// An event for the field being edited (a key, composed text); what it changed goes to the state.
void endpoint_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale);
// What a press on one of the editor's areas does: a field box starts editing that field (and
// `on_field`, when given, runs once it is the edited one), a suggestion row chooses its place, the
// swap button swaps the endpoints, the suggestion card only absorbs the press.
void activate_endpoint_hit(MapsApp& app, const EndpointHit& hit, zarn_ui::state::State& state,
                           const std::function<void(EndpointField)>& on_field = {});
// A press on the editor's areas, the last recorded first; false when none is under the point.
// A chosen suggestion is kept through the state's document.
bool endpoint_editor_press(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale,
                           zarn_ui::Point p, zarn_ui::state::State& state);

}  // namespace maps

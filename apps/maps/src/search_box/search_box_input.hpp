#pragma once
// Keys while the search box's list is open.

#include <cstdint>
#include <optional>

#include "messages/ui_message.hpp"

#include "zarn_ui/events.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Escape closes the list; the arrow keys point at a suggestion, which Enter then chooses; else
// Enter submits the query; typing replaces the query, shows the local suggestions and arms the
// typing deadline.
// Returns what the window is to do with a chosen suggestion.
std::optional<UiMessage> search_box_key(MapsApp& app, const zarn_ui::widget::Event& event,
                                        const zarn_ui::widget::Key& key, std::uint32_t modifiers,
                                        zarn_ui::state::State& state, double scale);
// An event the box's field takes (a key, composed text, a press on the field): Enter submits,
// a changed text is typed.
void search_box_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                            zarn_ui::state::State* state, double scale);

}  // namespace maps

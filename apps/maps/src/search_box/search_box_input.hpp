#pragma once
// Keys while the search box's list is open, and the events its field takes.

#include <optional>

#include "messages/ui_message.hpp"
#include "search_box/search_box.hpp"
#include "transitions/session.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

// Escape closes the list; the arrow keys point at a suggestion, which Enter then chooses; else
// Enter submits the query; typing replaces the query, shows the local suggestions and arms the
// typing deadline.
// Returns what the window is to do with a chosen suggestion.
std::optional<UiMessage> search_box_key(SearchBox& box, Session& session, const zarn_ui::widget::Event& event,
                                        const zarn_ui::widget::Key& key, const zarn_ui::widgets::EventCtx& ctx,
                                        zarn_ui::state::State& state);
// An event the box's field takes (a key, composed text, a press on the field): Enter submits,
// a changed text is typed.
void search_box_field_event(SearchBox& box, Session& session, const zarn_ui::widget::Event& event,
                            const zarn_ui::widgets::EventCtx& ctx, zarn_ui::state::State* state);

}  // namespace maps

#pragma once
// Keys and presses of the route endpoint editor, turned into endpoint events for the state.
// They change the state through the session they are handed; the search box's suggestions,
// which a press or a choice here closes, follow through its view requests.

#include <functional>

#include "directions/endpoint_editor.hpp"
#include "transitions/session.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

// A key while a field is being edited: Escape ends the edit; Up and Down point at a suggestion,
// which Enter then chooses (it is kept through the state's document).
void endpoint_field_key(EndpointEditor& editor, Session& session, const zarn_ui::widget::Event& event,
                        const zarn_ui::widget::Key& key, const zarn_ui::widgets::EventCtx& ctx,
                        zarn_ui::state::State& state);
// An event for the field being edited (a key, composed text); what it changed goes to the state.
void endpoint_field_event(EndpointEditor& editor, Session& session, const zarn_ui::widget::Event& event,
                          const zarn_ui::widgets::EventCtx& ctx);
// What a press on one of the editor's areas does: a field box starts editing that field (and
// `on_field`, when given, runs once it is the edited one), a suggestion row chooses its place, the
// swap button swaps the endpoints, the suggestion card only absorbs the press.
void activate_endpoint_hit(EndpointEditor& editor, Session& session, const EndpointHit& hit,
                           zarn_ui::state::State& state, const std::function<void(EndpointField)>& on_field = {});
// A press at `p` on the editor's areas, the last recorded first; false when none is under the
// point. A press on a field also places its caret. A chosen suggestion is kept through the
// state's document.
bool endpoint_editor_press(EndpointEditor& editor, Session& session, const zarn_ui::widget::Event& event,
                           const zarn_ui::widgets::EventCtx& ctx, zarn_ui::Point p, zarn_ui::state::State& state);

}  // namespace maps

#pragma once
// The window's named interface actions, invoked by id with the action spec's kind and a JSON text
// argument, and the asynchronous "maps.locate" request that the tick completes.

#include <cstdint>
#include <optional>
#include <string_view>

#include "action_surface/action_surface.hpp"
#include "transitions/session.hpp"
#include "zarn_actions/action_contract.hpp"
#include "zarn_ui/ui_action.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

// Kind 0 handles nothing, kind 1 only "maps.locate", any other kind the six other actions.
zarn_ui::ui_action::ActionOutcome perform_ui_action(Session& session, zarn_ui::state::State& state,
                                                    zarn_actions::resource::ActionKind kind, std::string_view id,
                                                    std::string_view argument);
// "maps.locate" with kind 1 waits in the surface's slot, which the tick fills and
// ActionSurface::take_result empties; everything else answers at once.
zarn_ui::ui_action::BeginOutcome begin_ui_action(ActionSurface& surface, Session& session, zarn_ui::state::State& state,
                                                 const zarn_ui::ui_action::RequestId& request,
                                                 zarn_actions::resource::ActionKind kind, std::string_view id,
                                                 std::string_view argument);

}  // namespace maps

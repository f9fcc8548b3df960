#pragma once
// The window's named interface actions, invoked by id with the action spec's kind byte and a JSON text
// argument, and the asynchronous "maps.locate" request that the tick completes.

#include <cstdint>
#include <optional>
#include <string_view>

#include "zarn_ui/ui_action.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Kind 0 handles nothing, kind 1 only "maps.locate", any other kind the six other actions.
zarn_ui::ui_action::ActionOutcome perform_ui_action(MapsApp& app, zarn_ui::state::State& state, std::uint8_t kind,
                                                    std::string_view id, std::string_view argument);
// "maps.locate" with kind 1 answers later through poll_ui_action; everything else at once.
zarn_ui::ui_action::BeginOutcome begin_ui_action(MapsApp& app, zarn_ui::state::State& state,
                                                 const zarn_ui::ui_action::RequestId& request, std::uint8_t kind,
                                                 std::string_view id, std::string_view argument);
// The finished locate request with this id, once.
std::optional<zarn_ui::ui_action::AsyncResult> poll_ui_action(MapsApp& app,
                                                              const zarn_ui::ui_action::RequestId& request);

}  // namespace maps

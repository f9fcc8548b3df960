#pragma once
// The offline maps panel's step of the frame tick.

#include <optional>

#include "base/mono_clock.hpp"
#include "messages/ui_message.hpp"
#include "offline_panel/offline_panel.hpp"

namespace maps {

// Once the typing deadline has passed, a text that is not blank asks to be searched as an area
// (`msg::AskAreaSearch`).
std::optional<UiMessage> offline_panel_tick(OfflinePanel& panel, base::MonoTime now);

}  // namespace maps

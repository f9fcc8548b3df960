#pragma once
// What the overflow menu's entries ask of the window, and the menu's share of input.

#include <optional>

#include "menu/overflow_menu.hpp"
#include "messages/ui_message.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"

namespace maps {

UiMessage overflow_menu_message(OverflowMenuItem item);
// An event while the menu is open. After a key or a primary press (never after a pointer move)
// the message of the entry it chose, if any, for the window to run at once.
std::optional<UiMessage> overflow_menu_event(OverflowMenu& menu, const zarn_ui::widget::Event& event,
                                             const zarn_ui::widgets::EventCtx& ctx);

}  // namespace maps

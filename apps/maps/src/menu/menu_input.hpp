#pragma once
// What the overflow menu's entries run, and the menu's share of input.

#include <cstdint>

#include "menu/overflow_menu.hpp"
#include "zarn_ui/events.hpp"

namespace maps {

class MapsApp;

void run_overflow_menu_item(MapsApp& app, OverflowMenuItem item);
// An event while the menu is open. After a key or a primary press (never after a pointer move)
// the entry it chose, if any, runs at once.
void overflow_menu_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers, double scale);

}  // namespace maps

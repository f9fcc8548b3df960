#pragma once
// What the overflow menu's entries run, and the menu's share of input.

#include "menu/overflow_menu.hpp"
#include "zarn_ui/events.hpp"

namespace maps {

class MapsApp;

void run_overflow_menu_item(MapsApp& app, OverflowMenuItem item);
// An event while the menu is open; the entry it chose, if any, runs at once.
void overflow_menu_event(MapsApp& app, const zarn_ui::widget::Event& event);

}  // namespace maps

#pragma once
// The pointer half of input handling; the keyboard and the wheel are in input.cpp.

#include <cstdint>

#include "zarn_ui/events.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {
class MapsApp;
}

namespace maps::input_pointer {

void pointer_moved(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::PointerMoved& move,
                   std::uint32_t modifiers, bool& handled, double scale);
void button_event(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::MouseButtonEvent& button,
                  std::uint32_t modifiers, zarn_ui::state::State& state, bool& handled, double scale);

}  // namespace maps::input_pointer

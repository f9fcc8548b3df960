#pragma once
// Keys while the search box's list is open.

#include <cstdint>

#include "zarn_ui/events.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// Escape closes the list; Enter submits the query; typing replaces the query, shows the local
// suggestions and arms the typing deadline.
void search_box_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                    std::uint32_t modifiers, std::uint8_t extra, zarn_ui::state::State& state, double scale);

}  // namespace maps

#include "app/maps_app.hpp"

namespace maps {

void MapsApp::handle_event(const zarn_ui::widget::Event& /*event*/, std::uint32_t /*modifiers*/,
                           std::uint8_t /*extra*/, zarn_ui::state::State& /*state*/, bool& /*handled*/,
                           double /*scale*/) {
  // Map gestures, shortcuts and panel presses arrive with the input work.
}

}  // namespace maps

#pragma once
// Presses and moves on the navigation panel, in the window and in its own desktop window.

#include <optional>
#include <string>

#include "messages/ui_message.hpp"
#include "navigation/navigation_panel.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

// What an event on the panel did: whether the panel took it, and what it asks the window for.
struct NavigationReply {
  bool handled = false;
  std::optional<UiMessage> message;
};

// A primary press at `p` in the window: on a panel drawn there, End asks to clear the route and
// the grip starts a drag; elsewhere nothing.
NavigationReply navigation_window_press(NavigationPanel& panel, const NavigationInputs& in, zarn_ui::Point p);

// An event in the surface `id` (only the panel's own counts): hover and press "End", or take
// the grip and drag the panel, in the window's coordinates as the panel is drawn there.
NavigationReply navigation_surface_event(NavigationPanel& panel, const NavigationInputs& in, const std::string& id,
                                         const zarn_ui::widget::Event& event, double scale);

}  // namespace maps

#pragma once
// What the navigation panel does with what it reads of the window.

#include <optional>
#include <string>

#include "navigation/navigation_panel.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

// With a road route set, the panel goes to the desktop.
void float_navigation(NavigationPanel& panel, const NavigationInputs& in);
// The docked panel is drawn on the map this frame.
bool navigation_docked_visible(const NavigationPanel& panel, const NavigationInputs& in);
// The panel is drawn inside the window this frame (docked and visible, or floating in it); only
// then do the window's pointer and accessibility reach its End button and grip.
bool navigation_in_window(const NavigationPanel& panel, const NavigationInputs& in);
// The End button as the window offers it (to the pointer and to accessibility): its last
// painted rectangle while a route is set and the panel is drawn in the window; none otherwise,
// so a panel on the desktop or hidden under the side panel leaves nothing behind in the window.
std::optional<zarn_ui::Rect> navigation_end_target(const NavigationPanel& panel, const NavigationInputs& in);
// The panel is a desktop surface of its own this frame.
bool navigation_on_desktop(const NavigationPanel& panel, const NavigationInputs& in);
// Where the docked panel centres itself: the map beside the wide layout's side panel (the whole
// bounds otherwise), and clear of the traffic legend at its bottom-left (`legend`, when drawn):
// beside it where there is room, else above it.
zarn_ui::Rect navigation_dock_area(const NavigationPanel& panel, const NavigationInputs& in,
                                   const std::optional<zarn_ui::Rect>& legend);
// The docked panel's rectangle while it is drawn on the map; none otherwise.
std::optional<zarn_ui::Rect> navigation_docked_rect(const NavigationPanel& panel, const NavigationInputs& in);
// Poses the panel for a review shot: "detached", "attached", "hover", "returning", "returned".
void stage_floating_navigation(NavigationPanel& panel, const NavigationInputs& in, const std::string& mode);

}  // namespace maps

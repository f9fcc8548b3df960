#pragma once
// What the navigation panel does with the state.

#include <string>

#include "zarn_ui/geometry.hpp"

namespace maps {

class MapsApp;

// With a road route set, the panel goes to the desktop.
void float_navigation(MapsApp& app);
// The docked panel is drawn on the map this frame.
bool navigation_docked_visible(const MapsApp& app);
// The panel is drawn inside the window this frame (docked and visible, or floating in it); only
// then do the window's pointer and accessibility reach its End button and grip.
bool navigation_in_window(const MapsApp& app);
// The panel is a desktop surface of its own this frame.
bool navigation_on_desktop(const MapsApp& app);
// The map beside the wide layout's side panel, where the docked panel sits; the whole bounds
// otherwise.
zarn_ui::Rect navigation_dock_area(const MapsApp& app);
// Poses the panel for a review shot: "detached", "attached", "hover", "returning", "returned".
void stage_floating_navigation(MapsApp& app, const std::string& mode);

}  // namespace maps

#pragma once
// What the navigation panel does with the state.

#include <string>

namespace maps {

class MapsApp;

// With a road route set, the panel goes to the desktop.
void float_navigation(MapsApp& app);
// The panel is drawn on the map in the window this frame.
bool navigation_docked_visible(const MapsApp& app);
bool navigation_in_window(const MapsApp& app);
// Poses the panel for a review shot: "detached", "attached", "hover", "returning", "returned".
void stage_floating_navigation(MapsApp& app, const std::string& mode);

}  // namespace maps

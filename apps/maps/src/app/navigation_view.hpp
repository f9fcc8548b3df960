#pragma once
// The navigation panel in the window: what it reads of the app, and the app's calls into it.

#include <optional>
#include <string>

#include "navigation/navigation_panel.hpp"
#include "zarn_ui/geometry.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

// The route, the bounds, the side panel's flags, this frame's scale bar and whether the route is
// the offline estimate.
NavigationInputs navigation_inputs(const MapsApp& app);

// The panel's questions and steps (navigation/navigation_steps.hpp) on the app's state.
void float_navigation(MapsApp& app);
bool navigation_docked_visible(const MapsApp& app);
bool navigation_in_window(const MapsApp& app);
std::optional<zarn_ui::Rect> navigation_end_target(const MapsApp& app);
bool navigation_on_desktop(const MapsApp& app);
void stage_floating_navigation(MapsApp& app, const std::string& mode);

// A primary press at `p` on the panel drawn in the window; true when the panel took it (End
// clears the route).
bool press_navigation_in_window(MapsApp& app, zarn_ui::Point p, zarn_ui::state::State& state);

}  // namespace maps

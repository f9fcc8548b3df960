#include "app/maps_app.hpp"

namespace maps {

Rect MapsApp::placement_host_rect() const { return host_rect.area() > 0 ? host_rect : bounds_rect; }

void stage_floating_navigation(MapsApp& app, const std::string& mode) {
  auto& placement = app.navigation_placement;
  if (mode == "attached") {
    placement.pin_handoff_for_visual_review(1000);
    return;
  }
  placement.detach_to_desktop({820, 120, 1180, 276});
  placement.detached = true;
  if (!placement.is_docked()) placement.detach_confirmed = true;
  if (mode == "hover") app.navigation_end_hover = true;
  if (mode == "returning" || mode == "returned") {
    placement.begin_drag(app.bounds_rect, app.placement_host_rect(), {1000, 136});
    placement.update_drag(app.bounds_rect, app.placement_host_rect(), {720, 360});
  }
  if (mode == "returned" && app.model.route) {
    // What the desktop reports once the window took the panel back.
    placement.confirm_app_adoption(app.bounds_rect);
  }
  placement.pin_handoff_for_visual_review(mode == "returning" || mode == "returned" ? 500 : 1000);
}

}  // namespace maps

#include "navigation/navigation_steps.hpp"

#include "app/maps_app.hpp"
#include "app/screen_geometry.hpp"

namespace maps {

void float_navigation(MapsApp& app) {
  if (!app.model.route) return;
  app.navigation.detach(true, app.bounds_rect);
}

bool navigation_docked_visible(const MapsApp& app) {
  return app.navigation.docked_visible(app.model.route.has_value(), is_narrow_layout(app.bounds_rect),
                                       app.panel_expanded);
}

bool navigation_in_window(const MapsApp& app) {
  return app.navigation.in_window(app.model.route.has_value(), is_narrow_layout(app.bounds_rect), app.panel_expanded);
}

void stage_floating_navigation(MapsApp& app, const std::string& mode) {
  app.navigation.stage(mode, app.model.route.has_value(), app.bounds_rect);
}

}  // namespace maps

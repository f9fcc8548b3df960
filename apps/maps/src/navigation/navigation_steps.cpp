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

bool navigation_on_desktop(const MapsApp& app) { return app.navigation.on_desktop(app.model.route.has_value()); }

zarn_ui::Rect navigation_dock_area(const MapsApp& app) {
  Rect area = app.bounds_rect;
  if (!is_narrow_layout(area) && !app.panel_collapsed) area.x0 = side_panel_rect(area).x1 + kLayoutGap;
  return area;
}

void stage_floating_navigation(MapsApp& app, const std::string& mode) {
  app.navigation.stage(mode, app.bounds_rect);
  if (mode == "returned") {
    // What the desktop reports once the window took the panel back.
    if (const auto surface = app.navigation.surface_for(app.model.route.has_value(), app.bounds_rect,
                                                        app.navigation.panel_rect(app.bounds_rect))) {
      app.apply_surface_event({zarn_ui::floating_surface::SurfaceEvent::AdoptionConfirmed{surface->id}});
    }
  }
  app.navigation.pin_handoff(mode == "attached" || mode == "detached" || mode == "hover" ? 1000 : 500);
}

}  // namespace maps

#include "navigation/navigation_steps.hpp"

#include <algorithm>

#include "app/maps_app.hpp"
#include "draw_kit/layout_metrics.hpp"

namespace maps {

void float_navigation(MapsApp& app) {
  if (!app.model.route) return;
  app.navigation.detach(true, app.bounds_rect);
}

bool navigation_docked_visible(const MapsApp& app) {
  return app.navigation.docked_visible(app.model.route.has_value(), is_narrow_layout(app.bounds_rect),
                                       app.panel.expanded);
}

bool navigation_in_window(const MapsApp& app) {
  return app.navigation.in_window(app.model.route.has_value(), is_narrow_layout(app.bounds_rect), app.panel.expanded);
}

std::optional<Rect> navigation_end_target(const MapsApp& app) {
  const Rect& end = app.navigation.end_rect();
  if (!app.model.route || !(end.width() * end.height() > 0) || !navigation_in_window(app)) return std::nullopt;
  return end;
}

bool navigation_on_desktop(const MapsApp& app) { return app.navigation.on_desktop(app.model.route.has_value()); }

namespace {

// The area with its bottom raised when the panel docked in it would lie over the scale bar.
Rect clear_of_scale_bar(const MapsApp& app, Rect area) {
  if (!app.drawn_scale_bar) return area;
  const Rect docked = app.navigation.placement().rect(area, app.navigation.host_rect_or(app.bounds_rect));
  const Rect& bar = *app.drawn_scale_bar;
  if (docked.x0 < bar.x1 && bar.x0 < docked.x1 && docked.y1 > bar.y0) {
    area.y1 = std::min(area.y1, bar.y0 - kLayoutGap + kLayoutMargin);
  }
  return area;
}

}  // namespace

zarn_ui::Rect navigation_dock_area(const MapsApp& app, const std::optional<Rect>& legend) {
  Rect area = app.bounds_rect;
  if (!is_narrow_layout(area) && !app.panel.collapsed) area.x0 = side_panel_rect(area).x1 + kLayoutGap;
  if (!legend) return clear_of_scale_bar(app, area);
  Rect beside = area;
  beside.x0 = std::max(area.x0, legend->x1 + kLayoutGap);
  if (beside.width() >= app.navigation.placement().panel_size.width + kLayoutMargin) {
    return clear_of_scale_bar(app, beside);
  }
  // The panel's bottom margin then lands it a gap above the legend.
  area.y1 = legend->y0 - kLayoutGap + kLayoutMargin;
  return clear_of_scale_bar(app, area);
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

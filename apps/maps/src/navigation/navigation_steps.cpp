#include "navigation/navigation_steps.hpp"

#include <algorithm>

#include "draw_kit/layout_metrics.hpp"

namespace maps {

void float_navigation(NavigationPanel& panel, const NavigationInputs& in) {
  if (!in.route) return;
  panel.detach(true, in.bounds);
}

bool navigation_docked_visible(const NavigationPanel& panel, const NavigationInputs& in) {
  return panel.docked_visible(in.route.has_value(), is_narrow_layout(in.bounds), in.side_panel.expanded);
}

bool navigation_in_window(const NavigationPanel& panel, const NavigationInputs& in) {
  return panel.in_window(in.route.has_value(), is_narrow_layout(in.bounds), in.side_panel.expanded);
}

std::optional<Rect> navigation_end_target(const NavigationPanel& panel, const NavigationInputs& in) {
  const Rect& end = panel.end_rect();
  if (!in.route || !(end.width() * end.height() > 0) || !navigation_in_window(panel, in)) return std::nullopt;
  return end;
}

bool navigation_on_desktop(const NavigationPanel& panel, const NavigationInputs& in) {
  return panel.on_desktop(in.route.has_value());
}

namespace {

// The area with its bottom raised when the panel docked in it would lie over the scale bar.
Rect clear_of_scale_bar(const NavigationPanel& panel, const NavigationInputs& in, Rect area) {
  if (!in.scale_bar) return area;
  const Rect docked = panel.placement().rect(area, panel.host_rect_or(in.bounds));
  const Rect& bar = *in.scale_bar;
  if (docked.x0 < bar.x1 && bar.x0 < docked.x1 && docked.y1 > bar.y0) {
    area.y1 = std::min(area.y1, bar.y0 - kLayoutGap + kLayoutMargin);
  }
  return area;
}

}  // namespace

zarn_ui::Rect navigation_dock_area(const NavigationPanel& panel, const NavigationInputs& in,
                                   const std::optional<Rect>& legend) {
  Rect area = in.bounds;
  if (!is_narrow_layout(area) && !in.side_panel.collapsed) area.x0 = side_panel_rect(area).x1 + kLayoutGap;
  if (!legend) return clear_of_scale_bar(panel, in, area);
  Rect beside = area;
  beside.x0 = std::max(area.x0, legend->x1 + kLayoutGap);
  if (beside.width() >= panel.placement().panel_size.width + kLayoutMargin) {
    return clear_of_scale_bar(panel, in, beside);
  }
  // The panel's bottom margin then lands it a gap above the legend.
  area.y1 = legend->y0 - kLayoutGap + kLayoutMargin;
  return clear_of_scale_bar(panel, in, area);
}

std::optional<Rect> navigation_docked_rect(const NavigationPanel& panel, const NavigationInputs& in) {
  if (!navigation_docked_visible(panel, in)) return std::nullopt;
  return panel.panel_rect(in.bounds);
}

void stage_floating_navigation(NavigationPanel& panel, const NavigationInputs& in, const std::string& mode) {
  panel.stage(mode, in.bounds);
  if (mode == "returned") {
    // What the desktop reports once the window took the panel back.
    if (const auto surface = panel.surface_for(in.route.has_value(), in.bounds, panel.panel_rect(in.bounds))) {
      panel.apply_surface_event(in.route.has_value(), in.bounds,
                                {zarn_ui::floating_surface::SurfaceEvent::AdoptionConfirmed{surface->id}});
    }
  }
  panel.pin_handoff(mode == "attached" || mode == "detached" || mode == "hover" ? 1000 : 500);
}

}  // namespace maps

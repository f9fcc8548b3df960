#include "overlay/map_controls.hpp"

#include <algorithm>

#include "app/maps_app.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "transitions/locating.hpp"
#include "transitions/traffic.hpp"
#include "transitions/view.hpp"

namespace maps {

bool map_controls_shown(const zarn_ui::Rect& bounds, bool panel_expanded) {
  return !(is_narrow_layout(bounds) && panel_expanded);
}

std::array<zarn_ui::Rect, 4> control_button_rects(const zarn_ui::Rect& r) {
  const double x0 = r.x1 - 56.0, x1 = r.x1 - 16.0, t = r.y0 + 16.0;
  return {zarn_ui::Rect{x0, t, x1, t + 40.0}, zarn_ui::Rect{x0, t + 40.0, x1, t + 80.0},
          zarn_ui::Rect{x0, t + 90.0, x1, t + 130.0}, zarn_ui::Rect{x0, t + 140.0, x1, t + 180.0}};
}

zarn_ui::Rect control_button_rect(const zarn_ui::Rect& r, MapControl control) {
  return control_button_rects(r)[std::min<std::size_t>(static_cast<std::size_t>(control), 3)];
}

MapControl hit_test_controls(const zarn_ui::Rect& r, double x, double y) {
  const auto rects = control_button_rects(r);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    if (rect_contains_point(rects[i], x, y)) return static_cast<MapControl>(i);
  }
  return MapControl::None;
}

zarn_ui::Rect more_button_rect(const zarn_ui::Rect& b) { return {b.x1 - 56.0, b.y1 - 46.0, b.x1 - 16.0, b.y1 - 16.0}; }

bool more_button_shown(const zarn_ui::Rect& bounds, bool panel_expanded) {
  if (!is_narrow_layout(bounds) || !panel_expanded) return true;
  const zarn_ui::Rect more = more_button_rect(bounds), panel = side_panel_rect(bounds);
  return !(more.x0 < panel.x1 && panel.x0 < more.x1 && more.y0 < panel.y1 && panel.y0 < more.y1);
}

void handle_map_control(MapsApp& app, MapControl control) {
  const zarn_ui::Point c = map_viewport_center(app.bounds_rect);
  switch (control) {
    case MapControl::ZoomIn: zoom_map_at(app.session(), 1.0, c.x, c.y); break;
    case MapControl::ZoomOut: zoom_map_at(app.session(), -1.0, c.x, c.y); break;
    case MapControl::Locate: start_locating(app.session()); break;
    case MapControl::Traffic: set_traffic_enabled(app.session(), !app.backend.traffic.enabled); break;
    case MapControl::None: break;
  }
}

}  // namespace maps

#include "overlay/map_overlay.hpp"

#include "app/maps_app.hpp"
#include "directions/endpoint_suggestions.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"
#include "navigation/navigation_paint.hpp"
#include "navigation/navigation_steps.hpp"
#include "offline_panel/offline_panel_paint.hpp"
#include "overlay/overlay_painters.hpp"
#include "search_box/search_box_paint.hpp"

namespace maps {
namespace {

// The control under the pointer, else the menu button or the "More" button under it.
std::optional<zarn_ui::widgets::TooltipTarget> tooltip_target(MapControl hovered, const zarn_ui::Rect& drawn_bounds,
                                                              const zarn_ui::Rect& b, zarn_ui::Point p,
                                                              bool controls_shown) {
  static constexpr const char* kControlTips[] = {"Zoom in", "Zoom out", "My location", "Traffic"};
  if (hovered != MapControl::None) {
    return zarn_ui::widgets::TooltipTarget{control_button_rect(drawn_bounds, hovered),
                                           kControlTips[static_cast<std::size_t>(hovered)]};
  }
  if (auto menu = menu_button_rect(b); menu && rect_contains_point(*menu, p.x, p.y)) {
    return zarn_ui::widgets::TooltipTarget{*menu, "Menu"};
  }
  const zarn_ui::Rect more = more_button_rect(b);
  // The controls are hidden only under the narrow layout's open panel, which may hide "More" too.
  if (more_button_shown(b, !controls_shown) && rect_contains_point(more, p.x, p.y)) {
    return zarn_ui::widgets::TooltipTarget{more, "More"};
  }
  return std::nullopt;
}

// The navigation panel where the window shows it; a panel that is not drawn leaves no areas
// behind, unless it is on the desktop, where the floating layer draws it.
void paint_navigation_in_window(MapsApp& app, Scene& scene, const Affine& t, const OverlayText& text,
                                const OverlayTheme& theme) {
  if (navigation_in_window(app)) {
    paint_navigation_panel(app, scene, t, text, theme);
  } else if (navigation_on_desktop(app)) {
    paint_navigation_return_hint(app, scene, t, theme);
  } else {
    app.navigation.forget_control_areas();
  }
}

}  // namespace

bool MapOverlay::pointer_moved(const zarn_ui::Rect& drawn_bounds, const zarn_ui::Rect& bounds, zarn_ui::Point p,
                               bool button_down, bool controls_shown, base::MonoTime now) {
  const MapControl before = hovered_;
  std::optional<zarn_ui::widgets::TooltipTarget> target;
  if (button_down) {
    hovered_ = MapControl::None;
  } else {
    hovered_ = controls_shown ? hit_test_controls(drawn_bounds, p.x, p.y) : MapControl::None;
    target = tooltip_target(hovered_, drawn_bounds, bounds, p, controls_shown);
  }
  const bool tooltip_changed = tooltips_.on_pointer(std::move(target), now);
  return tooltip_changed || hovered_ != before;
}

void paint_tooltip(MapsApp& app, Scene& scene, const Affine& t, const OverlayText& text, const OverlayTheme& theme) {
  // Told the time every frame, so a tooltip on its way comes up (and stops asking for frames).
  app.overlay.tick_tooltips(app.backend.now());
  const auto& host = app.overlay.tooltips();
  if (!host.target() || !host.shown()) return;
  zarn_ui::widgets::draw_hover_tooltip(scene, t, text, theme, host.target()->rect, host.target()->text,
                                       app.drawn_bounds);
}

// The groups above the map, bottom to top; a later one covers an earlier one, and its press
// areas, recorded later, win.
void paint_map_overlay(MapsApp& app, Scene& scene, const Affine& t, const zarn_ui::widget::PaintCtx& ctx) {
  const OverlayText& text = ctx.text;
  const OverlayTheme& theme = ctx.theme;
  // 1. Map controls.
  paint_map_controls(app, scene, t, text, theme);
  // 2. Traffic legend; the docked navigation panel keeps clear of it.
  const std::optional<Rect> legend = paint_traffic_legend(app, scene, t, text, theme);
  app.navigation.set_dock_area(navigation_dock_area(app, legend));
  // 3. Menu button (narrow layout).
  paint_menu_button(app, scene, t, theme);
  // 4. Search box.
  paint_search_box(app, scene, t, ctx);
  // 5. Status pill.
  paint_status_pill(app, scene, t, text, theme);
  // 6. Card of the selected point of interest.
  paint_poi_card(app, scene, t, text, theme, legend);
  // 7. Search suggestion list.
  paint_search_suggestions(app, scene, t, text, theme);
  // 8. Endpoint suggestion list.
  paint_endpoint_suggestions(app, scene, t, text, theme);
  // 9. Offline maps panel.
  paint_offline_panel(app.offline_panel, {app.model, app.bounds_rect, app.backend.tiles}, scene, t, ctx);
  // 10. Navigation panel inside the window.
  paint_navigation_in_window(app, scene, t, text, theme);
  // 11. "More" button: its press area is the frame's last.
  paint_more_button(app, scene, t, theme);
  // 12. Overflow menu.
  app.overflow_menu.draw(scene, t, ctx);
  // 13. Dialog.
  if (app.dialog.is_open()) {
    app.dialog.modal().prepare(app.bounds_rect, theme, text);
    app.dialog.modal().paint(scene, t, ctx);
  }
  // 14. Tooltip.
  paint_tooltip(app, scene, t, text, theme);
}

}  // namespace maps

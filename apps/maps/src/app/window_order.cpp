// The window's painting order, one layer after another from the map up: a later layer covers an
// earlier one, and the press areas it records, appended to the frame's list as it paints, win
// over those below (presses test the list from its end).

#include "app/window_order.hpp"

#include <optional>
#include <vector>

#include "app/directions_view.hpp"
#include "app/map_layers_view.hpp"
#include "app/maps_app.hpp"
#include "app/navigation_view.hpp"
#include "app/overlay_view.hpp"
#include "app/search_box_view.hpp"
#include "app/side_panel_view.hpp"
#include "directions/endpoint_suggestions.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"
#include "map_layers/map_credit.hpp"
#include "map_layers/scale_bar.hpp"
#include "map_layers/status_banner.hpp"
#include "navigation/navigation_paint.hpp"
#include "navigation/navigation_steps.hpp"
#include "offline_panel/offline_panel_paint.hpp"
#include "overlay/overlay_painters.hpp"
#include "search_box/search_box_paint.hpp"
#include "side_panel/side_panel.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

constexpr double kMinPanelHeight = 80.0;
// Right end of the scale bar: 16 px inset, the 40 px control column and a 10 px gap.
constexpr double kScaleBarRightInset = 66.0;
constexpr double kScaleBarPadding = 8.0;  // of its backdrop, each side
constexpr double kMinScaleBarWidth = 12.0;

bool narrow_panel_open(const MapsApp& app) { return is_narrow_layout(app.bounds_rect) && app.panel.expanded; }

void append_hits(MapsApp& app, std::optional<HitTarget> hit) {
  if (hit) app.hit_targets.push_back(std::move(*hit));
}

void append_hits(MapsApp& app, std::vector<HitTarget> hits) {
  app.hit_targets.insert(app.hit_targets.end(), hits.begin(), hits.end());
}

// The narrow layout's open side panel dims the map; a press on the dimmed map closes the panel.
void paint_panel_scrim(MapsApp& app, Scene& scene, const Affine& t) {
  if (!narrow_panel_open(app)) return;
  fill_rect(scene, t, app.bounds_rect, Color::black().with_alpha(0.5f));
  app.hit_targets.push_back({app.bounds_rect, UiMessage{msg::CloseNavigation{}}});
}

// Not under the search box's suggestion list, which covers it while it shows, nor where the
// window leaves it too little height.
bool side_panel_shown(const MapsApp& app) {
  return (!is_narrow_layout(app.bounds_rect) || app.panel.expanded) &&
         !app.search_box.suggestions_showing(app.model.query) &&
         !(side_panel_rect(app.bounds_rect).height() < kMinPanelHeight);
}

// Like the control column it keeps clear of, the scale bar stays under a narrow open panel.
// Beside the traffic legend it is only as long as the room between them.
void paint_window_scale_bar(MapsApp& app, Scene& scene, const Affine& t, const TextRenderer& text, const Theme& theme) {
  app.drawn_scale_bar.reset();
  if (narrow_panel_open(app)) return;
  const Rect& b = app.bounds_rect;
  const double right = b.x1 - kScaleBarRightInset;
  double longest = kMaxScaleBarWidth;
  if (const auto legend = traffic_legend_rect(b, app.panel, app.backend.traffic, text)) {
    longest = std::min(longest, right - kScaleBarPadding - (legend->x1 + kLayoutGap));
  }
  if (longest >= kMinScaleBarWidth) {
    app.drawn_scale_bar = paint_scale_bar(scene, t, text, b, app.model.center, app.model.zoom, theme, right, longest);
  }
}

// The map's credit, beside the side panel in the wide layout; it opens the attribution.
void paint_window_credit(MapsApp& app, Scene& scene, const Affine& t, const TextRenderer& text, const Theme& theme) {
  if (narrow_panel_open(app)) return;
  const Rect& b = app.bounds_rect;
  const double left =
      !is_narrow_layout(b) && !app.panel.collapsed ? side_panel_rect(b).x1 + kLayoutGap : b.x0 + kLayoutMargin;
  if (const auto credit = paint_map_credit(scene, t, text, b, left, theme)) {
    app.hit_targets.push_back({*credit, UiMessage{msg::OpenAttribution{}}});
  }
}

void paint_dialog(MapsApp& app, Scene& scene, const Affine& t, const zarn_ui::widget::PaintCtx& ctx) {
  if (!app.dialog.is_open()) return;
  app.dialog.modal().prepare(app.bounds_rect, ctx.theme, ctx.text);
  app.dialog.modal().paint(scene, t, ctx);
}

}  // namespace

void paint_window(MapsApp& app, Scene& scene, const Affine& t, const zarn_ui::widget::PaintCtx& ctx) {
  const Theme& theme = ctx.theme;
  const TextRenderer& text = ctx.text;
  // 1. The map's layers.
  const bool raster = paint_map_layers(app.map_layers, map_layer_inputs(app), scene, t, text, theme, ctx.device_scale);
  // 2. The narrow layout's scrim under its open side panel.
  paint_panel_scrim(app, scene, t);
  // 3. The side panel.
  if (side_panel_shown(app)) paint_side_panel_view(app, scene, t, ctx);
  // 4. The scale bar.
  paint_window_scale_bar(app, scene, t, text, theme);
  // 5. The banner of a map with nothing to show.
  if (!raster && vector_map_empty(app.vector_map) && !narrow_panel_open(app)) {
    paint_status_banner(scene, t, text, app.bounds_rect, app.panel.collapsed, app.backend.tiles, theme);
  }
  // 6. The map's credit.
  paint_window_credit(app, scene, t, text, theme);

  const OverlayInputs overlay = overlay_inputs(app);
  const NavigationInputs navigation = navigation_inputs(app);
  // 7. Map controls.
  paint_map_controls(app.overlay, overlay, scene, t, text, theme);
  // 8. Traffic legend; the docked navigation panel keeps clear of it.
  const std::optional<Rect> legend = paint_traffic_legend(overlay, scene, t, text, theme);
  app.navigation.set_dock_area(navigation_dock_area(app.navigation, navigation, legend));
  // 9. Menu button (narrow layout).
  append_hits(app, paint_menu_button(overlay, scene, t, theme));
  // 10. Search box.
  paint_search_box(app, scene, t, ctx);
  // 11. Status pill.
  app.overlay.set_shortened_status(paint_status_pill(overlay, scene, t, text, theme));
  // 12. Card of the selected point of interest, above the legend and the docked navigation panel.
  const std::optional<Rect> docked_navigation = navigation_docked_rect(app.navigation, navigation);
  append_hits(app, paint_poi_card(overlay, {legend, docked_navigation}, scene, t, text, theme));
  // 13. Search suggestion list.
  paint_search_suggestions(app, scene, t, text, theme);
  // 14. Endpoint suggestion list.
  paint_endpoint_suggestions(app, scene, t, text, theme);
  // 15. Offline maps panel.
  paint_offline_panel(app.offline_panel, {app.model, app.bounds_rect, app.backend.tiles}, scene, t, ctx);
  // 16. Navigation panel inside the window.
  paint_navigation_in_window(app.navigation, navigation, scene, t, text, theme);
  // 17. "More" button: its press area is the frame's last.
  append_hits(app, paint_more_button(overlay, scene, t, theme));
  // 18. Overflow menu.
  app.overflow_menu.draw(scene, t, ctx);
  // 19. Dialog.
  paint_dialog(app, scene, t, ctx);
  // 20. Tooltip.
  app.overlay.paint_tooltip(scene, t, text, theme, app.drawn_bounds, app.backend.now());
}

}  // namespace maps

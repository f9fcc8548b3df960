// One frame of the window: the map layers, the side panel, the scale bar, the status banner and
// the overlay, in that order. Only the map layers keep something between frames: the picture of
// the city (MapLayers).

#include "app/map_layers_view.hpp"
#include "app/maps_app.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"
#include "map_layers/map_credit.hpp"
#include "map_layers/scale_bar.hpp"
#include "map_layers/status_banner.hpp"
#include "overlay/map_overlay.hpp"
#include "overlay/overlay_painters.hpp"
#include "side_panel/side_panel.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

namespace {

constexpr double kMinPanelHeight = 80.0;
// Right end of the scale bar: 16 px inset, the 40 px control column and a 10 px gap.
constexpr double kScaleBarRightInset = 66.0;
constexpr double kScaleBarPadding = 8.0;  // of its backdrop, each side
constexpr double kMinScaleBarWidth = 12.0;

// The search box's suggestion list covers the panel while it shows.
bool suggestions_showing(const MapsApp& app) { return app.search_box.suggestions_showing(app.model.query); }

}  // namespace

void MapsApp::draw(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  // A target not painted this frame must take no press.
  hit_targets.clear();
  endpoint_editor.clear_hits();
  side_panel.set_list_panel(std::nullopt);
  side_panel.set_header_room(std::nullopt);
  offline_panel.clear_hits();
  drawn_bounds = bounds_rect;

  const zarn_ui::theme::Theme& theme = ctx.theme;
  const TextRenderer& text = ctx.text;
  const bool narrow = is_narrow_layout(bounds_rect);
  const bool raster =
      paint_map_layers(map_layers, map_layer_inputs(*this), scene, transform, text, theme, ctx.device_scale);

  if (narrow && panel.expanded) {
    fill_rect(scene, transform, bounds_rect, Color::black().with_alpha(0.5f));
    hit_targets.push_back({bounds_rect, UiMessage{msg::CloseNavigation{}}});
  }
  if ((!narrow || panel.expanded) && !suggestions_showing(*this) &&
      !(side_panel_rect(bounds_rect).height() < kMinPanelHeight)) {
    paint_side_panel(*this, scene, transform, ctx);
  }

  // Like the control column it keeps clear of, the scale bar stays under a narrow open panel.
  // Beside the traffic legend it is only as long as the room between them.
  drawn_scale_bar.reset();
  if (!(narrow && panel.expanded)) {
    const double right = bounds_rect.x1 - kScaleBarRightInset;
    double longest = kMaxScaleBarWidth;
    if (const auto legend = traffic_legend_rect(*this, text)) {
      longest = std::min(longest, right - kScaleBarPadding - (legend->x1 + kLayoutGap));
    }
    if (longest >= kMinScaleBarWidth) {
      drawn_scale_bar =
          paint_scale_bar(scene, transform, text, bounds_rect, model.center, model.zoom, theme, right, longest);
    }
  }
  if (!raster && vector_map_empty(vector_map) && !(narrow && panel.expanded)) {
    paint_status_banner(scene, transform, text, bounds_rect, panel.collapsed, backend.tiles, theme);
  }
  // The map's credit, beside the side panel in the wide layout.
  if (!(narrow && panel.expanded)) {
    const double left =
        !narrow && !panel.collapsed ? side_panel_rect(bounds_rect).x1 + kLayoutGap : bounds_rect.x0 + kLayoutMargin;
    if (const auto credit = paint_map_credit(scene, transform, text, bounds_rect, left, theme)) {
      hit_targets.push_back({*credit, UiMessage{msg::OpenAttribution{}}});
    }
  }
  paint_map_overlay(*this, scene, transform, ctx);
}

}  // namespace maps

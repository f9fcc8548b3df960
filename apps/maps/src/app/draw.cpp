// One frame of the window: the map layers, the side panel, the scale bar, the status banner and
// the overlay, in that order. Nothing is cached between frames.

#include <algorithm>
#include <string_view>

#include "app/draw_primitives.hpp"
#include "app/maps_app.hpp"
#include "app/paint_banner.hpp"
#include "app/paint_frame.hpp"
#include "app/paint_later.hpp"
#include "app/paint_scale_bar.hpp"
#include "app/paint_tiles.hpp"
#include "app/paint_traffic.hpp"
#include "app/paint_vector_map.hpp"
#include "app/palette.hpp"
#include "base/text.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

namespace {

constexpr double kMinPanelHeight = 80.0;
// Right end of the scale bar: 16 px inset, the 40 px control column and a 10 px gap.
constexpr double kScaleBarRightInset = 66.0;

// The search box's suggestion list covers the panel while it shows.
bool suggestions_showing(const MapsApp& app) {
  return app.search_open && !base::trim_white_space(app.model.query).empty() && !app.search_suggestions.empty();
}

}  // namespace

Rect marker_area(const Rect& bounds, bool panel_expanded) {
  Rect area = bounds;
  if (is_narrow_layout(bounds) && panel_expanded) {
    area.x0 = std::min(side_panel_rect(bounds).x1 + kLayoutGap, bounds.x1);
  }
  return area;
}

void MapsApp::draw(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  // A target not painted this frame must take no press.
  hit_targets.clear();
  endpoint_hits.clear();
  offline_hits.clear();
  drawn_bounds = bounds_rect;

  const zarn_ui::theme::Theme& theme = ctx.theme;
  const TextRenderer& text = ctx.text;
  set_tile_style(tile_store, is_dark_background(theme));
  const MapPalette palette = map_palette(theme);
  const Camera camera = view_camera(bounds_rect, model.center, model.zoom);
  const Rect markers = marker_area(bounds_rect, panel_expanded);
  const bool narrow = is_narrow_layout(bounds_rect);

  const Point mid = map_viewport_center(bounds_rect);
  const bool raster =
      paint_raster_tiles(scene, transform, bounds_rect, tile_store, model.center, model.zoom, palette, mid.x, mid.y);
  const bool no_vector_map = vector_map_empty(vector_map);
  if (!raster) {
    if (no_vector_map) {
      paint_tile_grid(scene, transform, bounds_rect, model.center, model.zoom, palette, mid.x, mid.y);
    } else {
      paint_vector_map(scene, transform, bounds_rect, camera, vector_map, palette);
    }
  }
  if (traffic_enabled) paint_traffic(scene, transform, camera, traffic_segments, palette);
  if (model.route) paint_route(scene, transform, camera, *model.route, palette);
  if (model.mode == TravelMode::Transit && model.transit_choice < model.transit.size()) {
    paint_transit_journey(scene, transform, camera, model.transit[model.transit_choice], theme, palette, bounds_rect);
  }
  paint_markers(scene, transform, text, camera, pois, poi_marker_layout(*this), selected_poi, theme, palette, markers);
  paint_location_and_selection(scene, transform, text, camera, *this, theme, palette, markers);

  if (narrow && panel_expanded) {
    fill_rect(scene, transform, bounds_rect, Color::black().with_alpha(0.5f));
    hit_targets.push_back({bounds_rect, UiMessage{msg::CloseNavigation{}}});
  }
  if ((!narrow || panel_expanded) && !suggestions_showing(*this) &&
      !(side_panel_rect(bounds_rect).height() < kMinPanelHeight)) {
    paint_side_panel(*this, scene, transform, text, theme);
  }

  paint_scale_bar(scene, transform, text, bounds_rect, model.center, model.zoom, theme,
                  bounds_rect.x1 - kScaleBarRightInset);
  if (!raster && no_vector_map && !(narrow && panel_expanded)) {
    paint_status_banner(scene, transform, text, bounds_rect, panel_collapsed, tile_store, theme);
  }
  paint_map_overlay(*this, scene, transform, text, theme);
}

}  // namespace maps

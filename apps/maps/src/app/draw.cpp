// One frame of the window: what the last frame recorded is forgotten, then every layer paints in
// the window's order (app/window_order.cpp). Only the map layers keep something between frames:
// the picture of the city (MapLayers).

#include "app/maps_app.hpp"
#include "app/window_order.hpp"

namespace maps {

void MapsApp::draw(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  // A target not painted this frame must take no press.
  hit_targets.clear();
  endpoint_editor.clear_hits();
  side_panel.set_list_panel(std::nullopt);
  side_panel.set_header_room(std::nullopt);
  offline_panel.clear_hits();
  drawn_bounds = bounds_rect;
  paint_window(*this, scene, transform, ctx);
}

}  // namespace maps

#include "app/maps_app.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

void MapsApp::draw(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  drawn_bounds = bounds_rect;
  hit_targets.clear();
  // The map's background; the map layers arrive with the painting work.
  scene.fill(bounds_rect, ctx.theme.background, transform);
}

}  // namespace maps

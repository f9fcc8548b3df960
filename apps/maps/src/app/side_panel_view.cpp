#include "app/side_panel_view.hpp"

#include <utility>
#include <vector>

#include "app/directions_view.hpp"
#include "app/maps_app.hpp"
#include "directions/directions_panel.hpp"

namespace maps {
namespace {

// The directions page adds its press areas to the panel's, after the panel's own, where they are
// in painting order.
DirectionsPage directions_page(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                               const zarn_ui::widget::PaintCtx& ctx) {
  return [&app, &scene, &transform, &ctx](const ListArea& list, double y, std::vector<HitTarget>& hits) {
    return paint_directions_panel(app.endpoint_editor, directions_inputs(app), hits, scene, transform, ctx, list, y);
  };
}

}  // namespace

void paint_side_panel_view(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                           const zarn_ui::widget::PaintCtx& ctx) {
  const SidePanelInputs in{.model = app.model,
                           .view_pois = app.backend.view_pois.pois,
                           .selected_poi = app.selected_poi,
                           .bounds = app.bounds_rect,
                           .panel = app.panel,
                           .directions_page = directions_page(app, scene, transform, ctx)};
  app.side_panel.paint(in, scene, transform, ctx);
  const std::vector<HitTarget>& hits = app.side_panel.hits();
  app.hit_targets.insert(app.hit_targets.end(), hits.begin(), hits.end());
}

}  // namespace maps

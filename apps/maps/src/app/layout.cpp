#include "zarn_ui/layout.hpp"
#include "app/maps_app.hpp"
#include "app/tick_steps.hpp"
#include "transitions/view.hpp"

namespace maps {

std::optional<zarn_ui::layout::NodeId> MapsApp::build_layout(zarn_ui::layout::LayoutTree& tree,
                                                             const zarn_ui::theme::Theme& /*theme*/,
                                                             zarn_ui::layout::NodeWidgetMap& widgets) {
  zarn_ui::layout::Style style;
  style.size = {zarn_ui::layout::Dimension::percent(1.0f), zarn_ui::layout::Dimension::percent(1.0f)};
  auto node = tree.new_leaf(style);
  if (!node) return std::nullopt;
  widgets.insert(*node, this);
  layout_node = *node;
  return *node;
}

void MapsApp::apply_layout(const zarn_ui::layout::LayoutTree& tree, zarn_ui::layout::NodeId node, Point origin) {
  auto l = tree.layout(node);
  if (!l) return;
  bounds_rect = {origin.x + l->left, origin.y + l->top, origin.x + l->left + l->width, origin.y + l->top + l->height};
  // Load the points of interest of the first view once the window has a size.
  if (backend.live && !backend.view_pois.box && !backend.view_pois.idle_deadline &&
      bounds_rect.width() > tick_steps::kMinMapWidth && model.zoom >= tick_steps::kPoiMinZoom) {
    arm_view_idle_timer(session());
  }
}

}  // namespace maps

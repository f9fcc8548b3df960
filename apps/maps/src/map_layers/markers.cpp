#include "map_layers/markers.hpp"

#include <algorithm>

#include "app/screen_geometry.hpp"

namespace maps {

zarn_ui::Rect marker_area(const zarn_ui::Rect& bounds, bool panel_expanded) {
  zarn_ui::Rect area = bounds;
  if (is_narrow_layout(bounds) && panel_expanded) {
    area.x0 = std::min(side_panel_rect(bounds).x1 + kLayoutGap, bounds.x1);
  }
  return area;
}

// No point of interest gets a marker.
std::vector<std::size_t> poi_marker_layout(const MapsApp&) { return {}; }

// Leaves the scene as it is.
void paint_markers(zarn_ui::Scene&, const zarn_ui::Affine&, const zarn_ui::text_render::TextRenderer&, const Camera&,
                   const std::vector<Poi>&, const std::vector<std::size_t>&, const std::optional<std::string>&,
                   const zarn_ui::theme::Theme&, const MapPalette&, const zarn_ui::Rect&) {}

}  // namespace maps

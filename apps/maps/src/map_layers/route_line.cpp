#include "map_layers/route_line.hpp"

namespace maps {

// Leaves the scene as it is.
void paint_route(zarn_ui::Scene&, const zarn_ui::Affine&, const Camera&, const Route&, const MapPalette&) {}

}  // namespace maps

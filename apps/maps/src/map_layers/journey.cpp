#include "map_layers/journey.hpp"

namespace maps {

// Leaves the scene as it is.
void paint_transit_journey(zarn_ui::Scene&, const zarn_ui::Affine&, const Camera&, const TransitJourney&,
                           const zarn_ui::theme::Theme&, const MapPalette&, const zarn_ui::Rect&) {}

}  // namespace maps

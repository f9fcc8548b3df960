#include "map_layers/location_pins.hpp"

namespace maps {

// Leaves the scene as it is.
void paint_location_and_selection(zarn_ui::Scene&, const zarn_ui::Affine&, const zarn_ui::text_render::TextRenderer&,
                                  const Camera&, const MapsApp&, const zarn_ui::theme::Theme&, const MapPalette&,
                                  const zarn_ui::Rect&) {}

}  // namespace maps

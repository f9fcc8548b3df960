#include "side_panel/side_panel.hpp"

namespace maps {

// Leaves the scene as it is.
void paint_side_panel(MapsApp&, zarn_ui::Scene&, const zarn_ui::Affine&, const zarn_ui::text_render::TextRenderer&,
                      const zarn_ui::theme::Theme&) {}

}  // namespace maps

#include "overlay/map_overlay.hpp"

#include "app/maps_app.hpp"

namespace maps {

// Tells the tooltip host the time every frame, so a tooltip on its way comes up (and stops asking
// for frames) instead of keeping the window busy for as long as the pointer rests.
void paint_map_overlay(MapsApp& app, zarn_ui::Scene&, const zarn_ui::Affine&, const zarn_ui::text_render::TextRenderer&,
                       const zarn_ui::theme::Theme&) {
  app.tooltips.tick(app.mono_now());
}

}  // namespace maps

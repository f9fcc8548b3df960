#include "app/paint_later.hpp"

#include "app/draw_primitives.hpp"
#include "app/maps_app.hpp"

namespace maps {

void paint_route(Scene&, const Affine&, const Camera&, const Route&, const MapPalette&) {}

void paint_transit_journey(Scene&, const Affine&, const Camera&, const TransitJourney&, const zarn_ui::theme::Theme&,
                           const MapPalette&, const Rect&) {}

std::vector<std::size_t> poi_marker_layout(const MapsApp&) { return {}; }

void paint_markers(Scene&, const Affine&, const TextRenderer&, const Camera&, const std::vector<Poi>&,
                   const std::vector<std::size_t>&, const std::optional<std::string>&, const zarn_ui::theme::Theme&,
                   const MapPalette&, const Rect&) {}

void paint_location_and_selection(Scene&, const Affine&, const TextRenderer&, const Camera&, const MapsApp&,
                                  const zarn_ui::theme::Theme&, const MapPalette&, const Rect&) {}

void paint_side_panel(MapsApp&, Scene&, const Affine&, const TextRenderer&, const zarn_ui::theme::Theme&) {}

// The overlay's controls and panels arrive with their own work. Its last step already runs: the
// tooltip host is told the time every frame, so a tooltip on its way comes up (and stops asking
// for frames) instead of keeping the window busy for as long as the pointer rests.
void paint_map_overlay(MapsApp& app, Scene&, const Affine&, const TextRenderer&, const zarn_ui::theme::Theme&) {
  app.tooltips.tick(app.mono_now());
}

}  // namespace maps

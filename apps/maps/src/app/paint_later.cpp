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

void paint_map_overlay(MapsApp&, Scene&, const Affine&, const TextRenderer&, const zarn_ui::theme::Theme&) {}

}  // namespace maps

#pragma once
// Painters whose layers arrive with later work: the route and journey lines, the point-of-
// interest markers, the origin dot and pins, the side panel and the overlay. `draw` already
// calls each in its place; until a painter lands it draws nothing.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/palette.hpp"
#include "geo/geo.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

void paint_route(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const Camera& camera, const Route& route,
                 const MapPalette& palette);

void paint_transit_journey(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const Camera& camera,
                           const TransitJourney& journey, const zarn_ui::theme::Theme& theme, const MapPalette& palette,
                           const zarn_ui::Rect& bounds);

// Indices into the loaded points of interest that get a marker, ascending.
std::vector<std::size_t> poi_marker_layout(const MapsApp& app);

void paint_markers(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                   const zarn_ui::text_render::TextRenderer& text, const Camera& camera, const std::vector<Poi>& pois,
                   const std::vector<std::size_t>& indices, const std::optional<std::string>& selected_id,
                   const zarn_ui::theme::Theme& theme, const MapPalette& palette, const zarn_ui::Rect& marker_area);

void paint_location_and_selection(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                                  const zarn_ui::text_render::TextRenderer& text, const Camera& camera,
                                  const MapsApp& app, const zarn_ui::theme::Theme& theme, const MapPalette& palette,
                                  const zarn_ui::Rect& marker_area);

// The panel's cards and lists. `draw` has already painted the narrow layout's scrim and decided
// that the panel shows this frame (no suggestion list open, panel at least 80 px tall).
void paint_side_panel(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                      const zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme);

void paint_map_overlay(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                       const zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme);

}  // namespace maps

#pragma once
// The point-of-interest markers, where they may be drawn, and which of them get one.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "draw_kit/palette.hpp"
#include "geo/geo.hpp"
#include "model/records.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

// Where markers, pins and their labels may be drawn: the bounds, except that in the narrow
// layout an open side panel keeps them to its right (10 px past its edge).
zarn_ui::Rect marker_area(const zarn_ui::Rect& bounds, bool panel_expanded);

// Indices into the loaded points of interest that get a marker, ascending.
std::vector<std::size_t> poi_marker_layout(const MapsApp& app);

void paint_markers(zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                   const zarn_ui::text_render::TextRenderer& text, const Camera& camera, const std::vector<Poi>& pois,
                   const std::vector<std::size_t>& indices, const std::optional<std::string>& selected_id,
                   const zarn_ui::theme::Theme& theme, const MapPalette& palette, const zarn_ui::Rect& marker_area);

}  // namespace maps

#pragma once
// Everything above the map and the side panel: the map controls, the traffic legend, the menu
// button, the search box, the status pill, the point-of-interest card, the panels that float over
// the map, the "More" button, the overflow menu, the dialog and the hover tooltip.

#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

void paint_map_overlay(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                       const zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme);

}  // namespace maps

#pragma once
// The side panel: the card at the left (full width in the narrow layout) with the lists the user
// acts on, or the directions panel in Directions mode.

#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

// The panel's cards and lists. `draw` has already painted the narrow layout's scrim and decided
// that the panel shows this frame (no suggestion list open, panel at least 80 px tall).
void paint_side_panel(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                      const zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme);

}  // namespace maps

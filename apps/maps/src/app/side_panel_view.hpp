#pragma once
// The side panel's view of the window: what it reads of it in a frame, and where its press
// areas join the frame's.

#include "side_panel/side_panel.hpp"

namespace maps {

class MapsApp;

// Paints the side panel, its directions page included, and appends its press areas to the
// frame's hit list.
void paint_side_panel_view(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                           const zarn_ui::widget::PaintCtx& ctx);

}  // namespace maps

#pragma once
// The window's painting order.

#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

class MapsApp;

// Paints every layer of the window, bottom to top, and gathers the frame's press areas into
// MapsApp::hit_targets in the same order.
void paint_window(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& t, const zarn_ui::widget::PaintCtx& ctx);

}  // namespace maps

#pragma once
// Small drawing helpers for floating panels.

#include "zarn_ui/color.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"

namespace zarn_ui::surface {

inline constexpr double kPanelRadius = 14.0;

// The outline of a floating panel: the rectangle with rounded corners.
Shape soft_outline(const Rect& rect);

// A short rounded bar centred at the top of the panel, where it is grabbed.
void floating_drag_grip(Scene& scene, const Affine& transform, const Rect& panel, const Color& color);

}  // namespace zarn_ui::surface

#pragma once
// The card behind every floating panel.

#include "draw_kit/primitives.hpp"

namespace maps {

// Shadow, fill and a 1 px border centred on the edge.
void paint_card(Scene& scene, const Affine& transform, const Rect& rect, const Color& fill, const Color& border,
                double radius);

}  // namespace maps

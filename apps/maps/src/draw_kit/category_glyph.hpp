#pragma once
// The small pictogram of a place category (a star, a cup, a fork and knife, ...), drawn around a
// centre in a foreground colour; the background colour is the colour of what lies under it (the
// marker's disc), used for the cut-outs such as a bus's windows.

#include "draw_kit/primitives.hpp"
#include "model/enums.hpp"

namespace maps {

// `size` is the pictogram's nominal size in pixels: its shapes reach about 0.58 x size from the
// centre, and its lines are max(0.16 x size, 1.4) px wide.
void paint_category_glyph(Scene& scene, const Affine& transform, Category category, const Color& foreground,
                          const Color& background, Point center, double size);

}  // namespace maps

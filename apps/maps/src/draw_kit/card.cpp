#include "draw_kit/card.hpp"

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"

namespace maps {

void paint_card(Scene& scene, const Affine& transform, const Rect& rect, const Color& fill, const Color& border,
                double radius) {
  const Rect shadow{rect.x0 - 1.0, rect.y0 + 3.0, rect.x1 + 1.0, rect.y1 + 5.0};
  fill_rounded_rect(scene, transform, shadow, rgba8_to_f32({0, 0, 0, 46}), radius + 1.0);
  fill_rounded_rect(scene, transform, rect, fill, radius);
  stroke_rounded_rect(scene, transform, rect, border, radius, 1.0);
}

}  // namespace maps

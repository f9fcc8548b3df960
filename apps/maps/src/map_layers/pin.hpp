#pragma once
// A place pin: a round head on a point whose tip sits on the place, with a shadow at the tip.

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"

namespace maps {

struct PinSize {
  double head_radius = 0.0;
  double height = 0.0;  // from the tip to the head's centre
  double reach = 0.0;   // how far from the head's centre a press still lands on the pin
};

inline constexpr PinSize kPinSize{8.0, 22.0, 14.0};
inline constexpr PinSize kSelectedPinSize{11.0, 30.0, 18.0};

// From the tip up the right side, over the head in 32 straight steps, and back to the tip.
BezPath pin_outline(Point tip, double head_radius, double height);

void paint_pin(Scene& scene, const Affine& transform, Point tip, const Color& color, const MapPalette& palette,
               bool selected);

}  // namespace maps

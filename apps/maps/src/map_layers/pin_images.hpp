#pragma once
// Pins for crowded views: a place pin drawn once per colour and device scale into a small image,
// then stamped at whole device pixels wherever a pin goes. A crowd of pins then costs what
// copying their pixels does instead of stroking each outline. Pins closer together than a few
// pixels show as one.

#include <cstddef>
#include <vector>

#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "zarn_ui/image.hpp"

namespace maps {

class PinImages {
 public:
  // More pins than this in view make a crowd; fewer are drawn from their outlines.
  static constexpr std::size_t kCrowd = 32;
  // Tips closer than this (logical pixels) to a pin already shown are left out.
  static constexpr double kSpacing = 6.0;

  // The pin in `color` over `palette`'s halo at `device_scale`, and the device pixel of its tip.
  const zarn_ui::Image& image(const Color& color, const MapPalette& palette, double device_scale, Point& tip);
  // Stamps a crowd of pins (tips in the transform's space, in drawing order, with their colours)
  // after leaving out the ones that would stand on another's tip.
  void paint_crowd(Scene& scene, const Affine& transform, const std::vector<Point>& tips,
                   const std::vector<Color>& colors, const MapPalette& palette, double device_scale);
  // Lets go of the images (a change of theme or scale makes others).
  void clear() { made_.clear(); }

 private:
  struct Made {
    Color color;
    Color halo;
    double scale = 0.0;
    zarn_ui::Image image;
    Point tip;
  };
  std::vector<Made> made_;
};

// Indices of the points to keep, in order: each point closer than `spacing` to one kept before
// it is left out.
std::vector<std::size_t> thin_points(const std::vector<Point>& points, double spacing);

}  // namespace maps

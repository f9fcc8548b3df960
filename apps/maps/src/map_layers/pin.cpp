#include "map_layers/pin.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace maps {

namespace {

constexpr int kHeadSteps = 32;
constexpr double kSelectedHaloRadius = 17.0;

}  // namespace

BezPath pin_outline(Point tip, double head_radius, double height) {
  const double a = std::acos(std::clamp(head_radius / height, -1.0, 1.0));
  const Point c{tip.x, tip.y - height};
  // Screen y grows downward, so the angle pi/2 points at the tip.
  const auto head = [&](double phi) {
    return Point{c.x + head_radius * std::cos(phi), c.y + head_radius * std::sin(phi)};
  };
  const double phi0 = std::numbers::pi / 2.0 - a;
  BezPath path;
  path.move_to(tip);
  path.line_to(head(phi0));
  for (int i = 1; i <= kHeadSteps; ++i) {
    path.line_to(head(phi0 - (2.0 * std::numbers::pi - 2.0 * a) * static_cast<double>(i) / kHeadSteps));
  }
  path.line_to(tip);
  path.close_path();
  return path;
}

void paint_pin(Scene& scene, const Affine& transform, Point tip, const Color& color, const MapPalette& palette,
               bool selected) {
  const PinSize size = selected ? kSelectedPinSize : kPinSize;
  const double r = size.head_radius;
  const Point c{tip.x, tip.y - size.height};
  scene.fill(zarn_ui::Ellipse{{tip.x - 0.62 * r, tip.y - 0.24 * r, tip.x + 0.62 * r, tip.y + 0.24 * r}},
             Color::black().with_alpha(0.28f), transform);
  if (selected) fill_circle(scene, transform, color.multiply_alpha(0.2f), c.x, c.y, kSelectedHaloRadius);
  const BezPath outline = pin_outline(tip, r, size.height);
  stroke_path(scene, transform, outline, palette.halo, selected ? 3.0 : 2.4);
  fill_path(scene, transform, outline, color);
  fill_circle(scene, transform, palette.halo, c.x, c.y, 0.4 * r);
  fill_circle(scene, transform, color.multiply_alpha(0.9f), c.x, c.y, 0.2 * r);
}

}  // namespace maps

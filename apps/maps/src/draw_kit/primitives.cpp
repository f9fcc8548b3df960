#include "draw_kit/primitives.hpp"

namespace maps {

using zarn_ui::Circle;
using zarn_ui::Line;
using zarn_ui::RoundedRect;

void fill_rect(Scene& scene, const Affine& transform, const Rect& rect, const Color& color) {
  scene.fill(rect, color, transform);
}

void fill_rounded_rect(Scene& scene, const Affine& transform, const Rect& rect, const Color& color, double radius) {
  scene.fill(RoundedRect::make(rect, radius), color, transform);
}

void fill_circle(Scene& scene, const Affine& transform, const Color& color, double cx, double cy, double radius) {
  scene.fill(Circle{{cx, cy}, radius}, color, transform);
}

void fill_path(Scene& scene, const Affine& transform, const BezPath& path, const Color& color) {
  scene.fill(path, color, transform);
}

namespace {

BezPath polyline_path(std::span<const Point> points) {
  BezPath path;
  path.move_to(points[0]);
  for (std::size_t i = 1; i < points.size(); ++i) path.line_to(points[i]);
  return path;
}

}  // namespace

void fill_closed_polyline(Scene& scene, const Affine& transform, std::span<const Point> points, const Color& color) {
  if (points.size() < 3) return;
  BezPath path = polyline_path(points);
  path.close_path();
  scene.fill(path, color, transform);
}

void stroke_line(Scene& scene, const Affine& transform, const Color& color, double x0, double y0, double x1, double y1,
                 double width) {
  scene.stroke(Line{{x0, y0}, {x1, y1}}, color, width, transform);
}

void stroke_circle(Scene& scene, const Affine& transform, const Color& color, double cx, double cy, double radius,
                   double width) {
  scene.stroke(Circle{{cx, cy}, radius}, color, width, transform);
}

void stroke_rounded_rect(Scene& scene, const Affine& transform, const Rect& rect, const Color& color, double radius,
                         double width) {
  scene.stroke(RoundedRect::make(rect, radius), color, width, transform);
}

void stroke_path(Scene& scene, const Affine& transform, const BezPath& path, const Color& color, double width) {
  scene.stroke(path, color, width, transform);
}

void stroke_polyline(Scene& scene, const Affine& transform, std::span<const Point> points, const Color& color,
                     double width) {
  if (points.size() < 2) return;
  scene.stroke(polyline_path(points), color, width, transform);
}

double measure_text(const TextRenderer& text, std::string_view s, float size) { return text.measure(s, size); }

void draw_label(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s, const Color& color,
                double x, double y, float size) {
  text.draw_text(scene, transform * Affine::translate(x, y), s, size, color);
}

void draw_label_weighted(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                         const Color& color, double x, double y, float size, FontWeight weight) {
  text.draw_text_weighted(scene, transform * Affine::translate(x, y), s, size, color, weight);
}

void draw_text_right(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                     const Color& color, double right_x, double y, float size) {
  draw_label(scene, text, transform, s, color, right_x - measure_text(text, s, size), y, size);
}

void draw_text_centered(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                        const Color& color, double left_x, double right_x, double y, float size) {
  const double x = left_x + ((right_x - left_x) - measure_text(text, s, size)) / 2.0;
  draw_label(scene, text, transform, s, color, x, y, size);
}

}  // namespace maps

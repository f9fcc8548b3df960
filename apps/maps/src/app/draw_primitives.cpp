#include "app/draw_primitives.hpp"

#include "app/palette.hpp"

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

void paint_card(Scene& scene, const Affine& transform, const Rect& rect, const Color& fill, const Color& border,
                double radius) {
  const Rect shadow{rect.x0 - 1.0, rect.y0 + 3.0, rect.x1 + 1.0, rect.y1 + 5.0};
  fill_rounded_rect(scene, transform, shadow, rgba8_to_f32({0, 0, 0, 46}), radius + 1.0);
  fill_rounded_rect(scene, transform, rect, fill, radius);
  stroke_rounded_rect(scene, transform, rect, border, radius, 1.0);
}

double measure_text(const TextRenderer& text, std::string_view s, float size) { return text.measure(s, size); }

void draw_label(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s, const Color& color,
                double x, double y, float size) {
  text.draw_text(scene, transform * Affine::translate(x, y), s, size, color);
}

void draw_label_weighted(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                         const Color& color, double x, double y, float size, std::uint8_t weight) {
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

namespace {

constexpr std::string_view kEllipsis = "…";

// Byte length of the UTF-8 character starting at s[i]: its lead byte and the continuation
// bytes after it, so a text is never cut inside a character.
std::size_t char_length(std::string_view s, std::size_t i) {
  std::size_t n = 1;
  while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

}  // namespace

std::string ellipsize_text(const TextRenderer& text, std::string_view s, float size, double max_width) {
  if (!(measure_text(text, s, size) > max_width)) return std::string(s);
  std::string prefix;
  std::string candidate;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = char_length(s, i);
    candidate.assign(prefix);
    candidate.append(s.substr(i, n));
    candidate.append(kEllipsis);
    if (measure_text(text, candidate, size) > max_width) break;
    prefix.append(s.substr(i, n));
    i += n;
  }
  prefix.append(kEllipsis);
  return prefix;
}

void draw_text_ellipsized(Scene& scene, const TextRenderer& text, const Affine& transform, std::string_view s,
                          const Color& color, double x, double y, float size, double max_width) {
  const std::string shown = ellipsize_text(text, s, size, max_width);
  text.draw_text(scene, transform * Affine::translate(x, y), shown, size, color, max_width + 1.0);
}

}  // namespace maps

#include "draw_kit/category_glyph.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace maps {

namespace {

// Draws in units of the glyph's half-size s around the centre; corner radii stay in pixels.
class GlyphPen {
 public:
  GlyphPen(Scene& scene, const Affine& transform, Point center, double size)
      : scene_(scene), transform_(transform), c_(center), s_(0.58 * size), w_(std::max(0.16 * size, 1.4)) {}

  double w() const { return w_; }
  Point at(double x, double y) const { return {c_.x + x * s_, c_.y + y * s_}; }

  void line(const Color& color, double x0, double y0, double x1, double y1, double width) {
    const Point a = at(x0, y0);
    const Point b = at(x1, y1);
    stroke_line(scene_, transform_, color, a.x, a.y, b.x, b.y, width);
  }
  void rounded(const Color& color, double x0, double y0, double x1, double y1, double radius) {
    const Point a = at(x0, y0);
    const Point b = at(x1, y1);
    fill_rounded_rect(scene_, transform_, {a.x, a.y, b.x, b.y}, color, radius);
  }
  void disc(const Color& color, double x, double y, double r) {
    const Point p = at(x, y);
    fill_circle(scene_, transform_, color, p.x, p.y, r * s_);
  }
  void ring(const Color& color, double x, double y, double r, double width) {
    const Point p = at(x, y);
    stroke_circle(scene_, transform_, color, p.x, p.y, r * s_, width);
  }
  template <std::size_t N>
  void polygon(const Color& color, const std::array<Point, N>& units) {
    std::array<Point, N> pts;
    for (std::size_t i = 0; i < N; ++i) pts[i] = at(units[i].x, units[i].y);
    fill_closed_polyline(scene_, transform_, pts, color);
  }

 private:
  Scene& scene_;
  const Affine& transform_;
  Point c_;
  double s_;
  double w_;
};

std::array<Point, 10> star_points() {
  std::array<Point, 10> pts;
  for (std::size_t k = 0; k < pts.size(); ++k) {
    const double angle = (-90.0 + 36.0 * static_cast<double>(k)) * std::numbers::pi / 180.0;
    const double d = k % 2 == 0 ? 1.0 : 0.45;
    pts[k] = {d * std::cos(angle), d * std::sin(angle)};
  }
  return pts;
}

}  // namespace

void paint_category_glyph(Scene& scene, const Affine& transform, Category category, const Color& foreground,
                          const Color& background, Point center, double size) {
  GlyphPen pen(scene, transform, center, size);
  const Color& fg = foreground;
  const double w = pen.w();
  switch (category) {
    case Category::Landmark: pen.polygon(fg, star_points()); return;
    case Category::Cafe:
      pen.rounded(fg, -0.6, -0.35, 0.35, 0.45, 2.0);
      pen.ring(fg, 0.5, 0.02, 0.3, w);
      pen.line(fg, -0.8, 0.68, 0.6, 0.68, w);
      return;
    case Category::Restaurant:
      for (const double x : {-0.68, -0.45, -0.22}) pen.line(fg, x, -0.7, x, -0.18, w);
      pen.line(fg, -0.45, -0.18, -0.45, 0.82, 1.5 * w);
      pen.line(fg, 0.5, -0.7, 0.5, 0.82, 1.7 * w);
      return;
    case Category::Bar:
      pen.polygon(fg, std::array<Point, 3>{{{-0.72, -0.55}, {0.72, -0.55}, {0.0, 0.18}}});
      pen.line(fg, 0.0, 0.18, 0.0, 0.72, w);
      pen.line(fg, -0.4, 0.72, 0.4, 0.72, w);
      return;
    case Category::Museum:
      pen.polygon(fg, std::array<Point, 3>{{{-0.82, -0.18}, {0.82, -0.18}, {0.0, -0.78}}});
      for (const double x : {-0.45, 0.0, 0.45}) pen.line(fg, x, -0.12, x, 0.55, 1.2 * w);
      pen.line(fg, -0.78, 0.66, 0.78, 0.66, 1.3 * w);
      return;
    case Category::Park:
      pen.line(fg, 0.0, 0.1, 0.0, 0.8, 1.4 * w);
      pen.disc(fg, 0.0, -0.2, 0.62);
      return;
    case Category::Transit:
      pen.rounded(fg, -0.6, -0.72, 0.6, 0.5, 2.5);
      pen.rounded(background, -0.42, -0.5, -0.06, -0.06, 1.5);
      pen.rounded(background, 0.06, -0.5, 0.42, -0.06, 1.5);
      pen.disc(fg, -0.32, 0.62, 0.16);
      pen.disc(fg, 0.32, 0.62, 0.16);
      return;
    case Category::Hotel:
      pen.line(fg, -0.72, -0.5, -0.72, 0.5, 1.4 * w);
      pen.rounded(fg, -0.72, 0.08, 0.78, 0.46, 2.0);
      pen.rounded(fg, -0.5, -0.2, -0.08, 0.12, 2.0);
      return;
    case Category::Shop:
      pen.ring(fg, 0.0, -0.22, 0.32, w);
      pen.rounded(fg, -0.6, -0.18, 0.6, 0.72, 2.5);
      return;
    case Category::Hospital:
      pen.rounded(fg, -1.0, -0.32, 1.0, 0.32, 1.5);
      pen.rounded(fg, -0.32, -1.0, 0.32, 1.0, 1.5);
      return;
    case Category::Other: break;
  }
  pen.disc(fg, 0.0, 0.0, 0.4);
}

}  // namespace maps

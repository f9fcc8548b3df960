#pragma once
// Plain 2D geometry in logical pixels: points, rectangles (x0, y0, x1, y1; y grows downward)
// and affine transforms.

#include <algorithm>
#include <cmath>
#include <optional>

namespace zarn_ui {

struct Vec2 {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const Vec2&) const = default;
  Vec2 operator+(Vec2 o) const { return {x + o.x, y + o.y}; }
  Vec2 operator-(Vec2 o) const { return {x - o.x, y - o.y}; }
  Vec2 operator*(double s) const { return {x * s, y * s}; }
};
using Point = Vec2;

struct Size {
  double width = 0.0;
  double height = 0.0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  double x0 = 0.0;
  double y0 = 0.0;
  double x1 = 0.0;
  double y1 = 0.0;
  bool operator==(const Rect&) const = default;

  static Rect from_origin_size(Point p, Size s) { return {p.x, p.y, p.x + s.width, p.y + s.height}; }
  double width() const { return x1 - x0; }
  double height() const { return y1 - y0; }
  double area() const { return width() * height(); }
  Point center() const { return {0.5 * (x0 + x1), 0.5 * (y0 + y1)}; }
  Point origin() const { return {x0, y0}; }
  Size size() const { return {width(), height()}; }
  // Left and top edges inside, right and bottom outside.
  bool contains(Point p) const { return x0 <= p.x && p.x < x1 && y0 <= p.y && p.y < y1; }
  Rect inflate(double dx, double dy) const { return {x0 - dx, y0 - dy, x1 + dx, y1 + dy}; }
  Rect translate(Vec2 d) const { return {x0 + d.x, y0 + d.y, x1 + d.x, y1 + d.y}; }
  // The same rectangle with x0 <= x1 and y0 <= y1.
  Rect abs() const { return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)}; }
  Rect intersect(const Rect& o) const {
    const double a = std::max(x0, o.x0), b = std::max(y0, o.y0);
    return {a, b, std::max(a, std::min(x1, o.x1)), std::max(b, std::min(y1, o.y1))};
  }
  bool is_finite() const { return std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1); }
};

// x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
  double a = 1.0, b = 0.0, c = 0.0, d = 1.0, e = 0.0, f = 0.0;
  bool operator==(const Affine&) const = default;

  static constexpr Affine identity() { return {}; }
  static constexpr Affine translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
  static constexpr Affine translate(Vec2 v) { return translate(v.x, v.y); }
  static constexpr Affine scale(double s) { return {s, 0, 0, s, 0, 0}; }
  static constexpr Affine scale_non_uniform(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
  static Affine rotate(double radians) {
    const double s = std::sin(radians), co = std::cos(radians);
    return {co, s, -s, co, 0, 0};
  }

  // (this * o)(p) == this(o(p)).
  constexpr Affine operator*(const Affine& o) const {
    return {a * o.a + c * o.b, b * o.a + d * o.b,     a * o.c + c * o.d,
            b * o.c + d * o.d, a * o.e + c * o.f + e, b * o.e + d * o.f + f};
  }
  constexpr Point apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  constexpr Affine then_translate(Vec2 v) const { return {a, b, c, d, e + v.x, f + v.y}; }
  constexpr double determinant() const { return a * d - b * c; }
  bool is_finite() const {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) && std::isfinite(e) &&
           std::isfinite(f);
  }
  std::optional<Affine> inverse() const {
    const double det = determinant();
    if (!std::isfinite(det) || det == 0.0) return std::nullopt;
    const double inv = 1.0 / det;
    return Affine{d * inv, -b * inv, -c * inv, a * inv, (c * f - d * e) * inv, (b * e - a * f) * inv};
  }
  Vec2 translation() const { return {e, f}; }
};

}  // namespace zarn_ui

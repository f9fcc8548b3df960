#pragma once
// The display list a frame is painted into. Items are plain values in drawing order, each with
// its own full transform; the Cairo backend replays them. Two frames whose lists compare equal
// look the same, so the window loop can skip rasterising an unchanged frame.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "zarn_ui/color.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/image.hpp"

namespace zarn_ui {

// A rectangle with equal rounded corners. Built through `make`, the rectangle is normalised
// (negative sizes flipped) and the radius clamped to 0 .. half the shorter side.
struct RoundedRect {
  Rect rect;
  double radius = 0.0;
  bool operator==(const RoundedRect&) const = default;

  static RoundedRect make(const Rect& r, double radius);
};

struct Circle {
  Point center;
  double radius = 0.0;
  bool operator==(const Circle&) const = default;
};

// An axis-aligned ellipse inscribed in a rectangle.
struct Ellipse {
  Rect bounds;
  bool operator==(const Ellipse&) const = default;
};

struct Line {
  Point p0;
  Point p1;
  bool operator==(const Line&) const = default;
};

enum class PathVerb : std::uint8_t { MoveTo, LineTo, QuadTo, CubicTo, Close };

// One path element; `p` holds 1 (move, line), 2 (quad) or 3 (cubic) points, the end point last.
struct PathEl {
  PathVerb verb = PathVerb::MoveTo;
  Point p[3] = {};
  bool operator==(const PathEl& o) const {
    return verb == o.verb && p[0] == o.p[0] && p[1] == o.p[1] && p[2] == o.p[2];
  }
};

class BezPath {
 public:
  BezPath& move_to(Point p);
  BezPath& line_to(Point p);
  BezPath& quad_to(Point c, Point p);
  BezPath& curve_to(Point c1, Point c2, Point p);
  BezPath& close_path();
  const std::vector<PathEl>& elements() const { return els_; }
  bool empty() const { return els_.empty(); }
  bool operator==(const BezPath&) const = default;

 private:
  std::vector<PathEl> els_;
};

using Shape = std::variant<Rect, RoundedRect, Circle, Ellipse, Line, BezPath>;

// The shape as a path: rectangles normalised, arcs as cubics.
BezPath to_path(const Shape& shape);

// The weights text is drawn in, lightest first.
enum class FontWeight : std::uint8_t { Normal, Medium, Semibold, Bold };

namespace scene {

struct Fill {
  Shape shape;
  Color color;
  Affine transform;
  bool operator==(const Fill&) const = default;
};

// Round joins and caps, miter limit 4, no dashes.
struct Stroke {
  Shape shape;
  Color color;
  double width = 1.0;
  Affine transform;
  bool operator==(const Stroke&) const = default;
};

// Everything up to the matching pop is clipped to `clip` and composited with `alpha`.
struct PushLayer {
  Shape clip;
  Affine transform;
  float alpha = 1.0f;
  bool operator==(const PushLayer&) const = default;
};

struct PopLayer {
  bool operator==(const PopLayer&) const = default;
};

// How a scaled image is sampled: bilinear, or the nearest pixel (for a picture shown for a
// frame or two while a sharp one is made).
enum class Sampling : std::uint8_t { Smooth, Fast };

// `shape` filled with the image; `brush_transform` maps image pixels into the shape's space.
// Pad extension, bilinear sampling unless `sampling` says otherwise.
struct DrawImage {
  Image image;
  Affine brush_transform;
  Shape shape;
  Affine transform;
  float alpha = 1.0f;
  Sampling sampling = Sampling::Smooth;
  bool operator==(const DrawImage&) const = default;
};

// A line of text laid out again at replay. The line box (1.25 x size high) starts at the
// transform's origin.
struct TextRun {
  std::string text;
  float size = 12.0f;
  FontWeight weight = FontWeight::Normal;
  Color color;
  Affine transform;
  std::optional<double> max_width;
  bool operator==(const TextRun&) const = default;
};

// One image drawn unscaled (an image pixel to a device pixel) at many places: the image pixel
// `anchor` (whole pixels) lands on each point's nearest whole device pixel. For many copies of one small
// picture (crowded pins), each as cheap as a copy of its pixels.
struct ImageStamps {
  Image image;
  Point anchor;
  std::vector<Point> at;
  Affine transform;
  bool operator==(const ImageStamps&) const = default;
};

using Item = std::variant<Fill, Stroke, PushLayer, PopLayer, DrawImage, TextRun, ImageStamps>;

}  // namespace scene

class Scene {
 public:
  void fill(const Shape& shape, const Color& color, const Affine& transform = Affine::identity());
  void stroke(const Shape& shape, const Color& color, double width, const Affine& transform = Affine::identity());
  void push_layer(const Shape& clip, const Affine& transform = Affine::identity(), float alpha = 1.0f);
  void pop_layer();
  void draw_image(const Image& image, const Affine& brush_transform, const Shape& shape,
                  const Affine& transform = Affine::identity(), float alpha = 1.0f,
                  scene::Sampling sampling = scene::Sampling::Smooth);
  void add_text(scene::TextRun run);
  void stamp_image(const Image& image, Point anchor, std::vector<Point> at,
                   const Affine& transform = Affine::identity());
  // Appends another scene's items, each transformed by `transform` first.
  void append(const Scene& other, const Affine& transform = Affine::identity());

  const std::vector<scene::Item>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void clear() { items_.clear(); }
  bool operator==(const Scene&) const = default;

 private:
  std::vector<scene::Item> items_;
};

namespace scene {
using Scene = zarn_ui::Scene;
}

}  // namespace zarn_ui

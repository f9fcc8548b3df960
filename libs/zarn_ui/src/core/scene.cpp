#include "zarn_ui/scene.hpp"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

namespace zarn_ui {

RoundedRect RoundedRect::make(const Rect& r, double radius) {
  const Rect n = r.abs();
  const double limit = 0.5 * std::min(n.width(), n.height());
  double rad = std::isfinite(radius) ? radius : 0.0;
  if (!(limit >= 0.0)) rad = 0.0;  // NaN rectangle: keep the radius harmless
  rad = std::clamp(rad, 0.0, std::max(limit, 0.0));
  return {n, rad};
}

BezPath& BezPath::move_to(Point p) {
  els_.push_back({PathVerb::MoveTo, {p, {}, {}}});
  return *this;
}
BezPath& BezPath::line_to(Point p) {
  els_.push_back({PathVerb::LineTo, {p, {}, {}}});
  return *this;
}
BezPath& BezPath::quad_to(Point c, Point p) {
  els_.push_back({PathVerb::QuadTo, {c, p, {}}});
  return *this;
}
BezPath& BezPath::curve_to(Point c1, Point c2, Point p) {
  els_.push_back({PathVerb::CubicTo, {c1, c2, p}});
  return *this;
}
BezPath& BezPath::close_path() {
  els_.push_back({PathVerb::Close, {}});
  return *this;
}

namespace {

// Cubic approximation of a quarter circle.
constexpr double kKappa = 0.5522847498307936;

void add_ellipse(BezPath& p, Point c, double rx, double ry) {
  const double kx = rx * kKappa, ky = ry * kKappa;
  p.move_to({c.x + rx, c.y});
  p.curve_to({c.x + rx, c.y + ky}, {c.x + kx, c.y + ry}, {c.x, c.y + ry});
  p.curve_to({c.x - kx, c.y + ry}, {c.x - rx, c.y + ky}, {c.x - rx, c.y});
  p.curve_to({c.x - rx, c.y - ky}, {c.x - kx, c.y - ry}, {c.x, c.y - ry});
  p.curve_to({c.x + kx, c.y - ry}, {c.x + rx, c.y - ky}, {c.x + rx, c.y});
  p.close_path();
}

void add_rect(BezPath& p, const Rect& r) {
  p.move_to({r.x0, r.y0}).line_to({r.x1, r.y0}).line_to({r.x1, r.y1}).line_to({r.x0, r.y1}).close_path();
}

void add_rounded_rect(BezPath& p, const RoundedRect& rr) {
  const RoundedRect n = RoundedRect::make(rr.rect, rr.radius);
  const Rect& r = n.rect;
  const double rad = n.radius;
  if (rad <= 0.0) {
    add_rect(p, r);
    return;
  }
  const double k = rad * kKappa;
  p.move_to({r.x0 + rad, r.y0});
  p.line_to({r.x1 - rad, r.y0});
  p.curve_to({r.x1 - rad + k, r.y0}, {r.x1, r.y0 + rad - k}, {r.x1, r.y0 + rad});
  p.line_to({r.x1, r.y1 - rad});
  p.curve_to({r.x1, r.y1 - rad + k}, {r.x1 - rad + k, r.y1}, {r.x1 - rad, r.y1});
  p.line_to({r.x0 + rad, r.y1});
  p.curve_to({r.x0 + rad - k, r.y1}, {r.x0, r.y1 - rad + k}, {r.x0, r.y1 - rad});
  p.line_to({r.x0, r.y0 + rad});
  p.curve_to({r.x0, r.y0 + rad - k}, {r.x0 + rad - k, r.y0}, {r.x0 + rad, r.y0});
  p.close_path();
}

}  // namespace

BezPath to_path(const Shape& shape) {
  BezPath p;
  std::visit(
      [&p](const auto& s) {
        using T = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<T, Rect>) {
          add_rect(p, s.abs());
        } else if constexpr (std::is_same_v<T, RoundedRect>) {
          add_rounded_rect(p, s);
        } else if constexpr (std::is_same_v<T, Circle>) {
          const double r = std::abs(s.radius);
          add_ellipse(p, s.center, r, r);
        } else if constexpr (std::is_same_v<T, Ellipse>) {
          const Rect b = s.bounds.abs();
          add_ellipse(p, b.center(), 0.5 * b.width(), 0.5 * b.height());
        } else if constexpr (std::is_same_v<T, Line>) {
          p.move_to(s.p0).line_to(s.p1);
        } else {
          p = s;
        }
      },
      shape);
  return p;
}

void Scene::fill(const Shape& shape, const Color& color, const Affine& transform) {
  items_.emplace_back(scene::Fill{shape, color, transform});
}

void Scene::stroke(const Shape& shape, const Color& color, double width, const Affine& transform) {
  items_.emplace_back(scene::Stroke{shape, color, width, transform});
}

void Scene::push_layer(const Shape& clip, const Affine& transform, float alpha) {
  items_.emplace_back(scene::PushLayer{clip, transform, alpha});
}

void Scene::pop_layer() { items_.emplace_back(scene::PopLayer{}); }

void Scene::draw_image(const Image& image, const Affine& brush_transform, const Shape& shape, const Affine& transform,
                       float alpha, scene::Sampling sampling) {
  items_.emplace_back(scene::DrawImage{image, brush_transform, shape, transform, alpha, sampling});
}

void Scene::add_text(scene::TextRun run) { items_.emplace_back(std::move(run)); }

void Scene::stamp_image(const Image& image, Point anchor, std::vector<Point> at, const Affine& transform) {
  items_.emplace_back(scene::ImageStamps{image, anchor, std::move(at), transform});
}

void Scene::append(const Scene& other, const Affine& transform) {
  items_.reserve(items_.size() + other.items_.size());
  for (const scene::Item& item : other.items_) {
    scene::Item copy = item;
    std::visit(
        [&transform](auto& it) {
          if constexpr (!std::is_same_v<std::decay_t<decltype(it)>, scene::PopLayer>) {
            it.transform = transform * it.transform;
          }
        },
        copy);
    items_.push_back(std::move(copy));
  }
}

}  // namespace zarn_ui

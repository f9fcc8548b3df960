#include "device_path.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace zarn_ui::render_detail {
namespace {

// Bounds the work a pathological curve can cause.
constexpr int kMaxDepth = 24;
constexpr std::size_t kMaxPoints = 200000;

bool outside_one_side(const Point* pts, int n, double limit) {
  bool left = true, right = true, top = true, bottom = true;
  for (int i = 0; i < n; ++i) {
    left = left && pts[i].x < -limit;
    right = right && pts[i].x > limit;
    top = top && pts[i].y < -limit;
    bottom = bottom && pts[i].y > limit;
  }
  return left || right || top || bottom;
}

Point mid(Point a, Point b) { return {0.5 * (a.x + b.x), 0.5 * (a.y + b.y)}; }

double dist2(Point a, Point b) {
  const double dx = a.x - b.x, dy = a.y - b.y;
  return dx * dx + dy * dy;
}

struct Flattener {
  double tol;
  double limit;
  std::vector<Point>* out;

  void cubic(Point p0, Point p1, Point p2, Point p3, int depth) {
    const Point pts[4] = {p0, p1, p2, p3};
    // Flat when both inner controls sit within the tolerance of the thirds of the chord.
    const Point t1{(2 * p0.x + p3.x) / 3, (2 * p0.y + p3.y) / 3};
    const Point t2{(p0.x + 2 * p3.x) / 3, (p0.y + 2 * p3.y) / 3};
    const bool flat = dist2(p1, t1) <= tol * tol && dist2(p2, t2) <= tol * tol;
    if (flat || depth >= kMaxDepth || out->size() >= kMaxPoints || outside_one_side(pts, 4, limit)) {
      out->push_back(p3);
      return;
    }
    const Point a = mid(p0, p1), b = mid(p1, p2), c = mid(p2, p3);
    const Point d = mid(a, b), e = mid(b, c), f = mid(d, e);
    cubic(p0, a, d, f, depth + 1);
    cubic(f, e, c, p3, depth + 1);
  }
};

}  // namespace

std::optional<Rect> device_bounds(const BezPath& path, const Affine& m) {
  std::optional<Rect> r;
  auto add = [&r](Point p) {
    if (!r) {
      r = Rect{p.x, p.y, p.x, p.y};
    } else {
      r->x0 = std::min(r->x0, p.x);
      r->y0 = std::min(r->y0, p.y);
      r->x1 = std::max(r->x1, p.x);
      r->y1 = std::max(r->y1, p.y);
    }
  };
  for (const PathEl& el : path.elements()) {
    const int n = el.verb == PathVerb::Close     ? 0
                  : el.verb == PathVerb::QuadTo  ? 2
                  : el.verb == PathVerb::CubicTo ? 3
                                                 : 1;
    for (int i = 0; i < n; ++i) add(m.apply(el.p[i]));
  }
  return r;
}

std::vector<Polyline> flatten(const BezPath& path, const Affine& m, double tolerance, double limit) {
  std::vector<Polyline> out;
  Point current{}, start{};
  bool open = false;
  auto begin = [&](Point p) {
    out.push_back({{p}, false});
    current = start = p;
    open = true;
  };
  for (const PathEl& el : path.elements()) {
    switch (el.verb) {
      case PathVerb::MoveTo: begin(m.apply(el.p[0])); break;
      case PathVerb::LineTo: {
        if (!open) begin(current);
        current = m.apply(el.p[0]);
        out.back().points.push_back(current);
        break;
      }
      case PathVerb::QuadTo: {
        if (!open) begin(current);
        const Point c = m.apply(el.p[0]), p = m.apply(el.p[1]);
        // Degree elevation: the same curve as a cubic.
        const Point c1{current.x + 2.0 / 3.0 * (c.x - current.x), current.y + 2.0 / 3.0 * (c.y - current.y)};
        const Point c2{p.x + 2.0 / 3.0 * (c.x - p.x), p.y + 2.0 / 3.0 * (c.y - p.y)};
        Flattener{tolerance, limit, &out.back().points}.cubic(current, c1, c2, p, 0);
        current = p;
        break;
      }
      case PathVerb::CubicTo: {
        if (!open) begin(current);
        const Point p = m.apply(el.p[2]);
        Flattener{tolerance, limit, &out.back().points}.cubic(current, m.apply(el.p[0]), m.apply(el.p[1]), p, 0);
        current = p;
        break;
      }
      case PathVerb::Close:
        if (open) {
          out.back().closed = true;
          open = false;
          current = start;
        }
        break;
    }
  }
  return out;
}

namespace {

// One Sutherland-Hodgman pass against the half-plane sign * coord(axis) <= limit.
std::vector<Point> clip_edge(const std::vector<Point>& in, int axis, double sign, double limit) {
  std::vector<Point> out;
  if (in.empty()) return out;
  out.reserve(in.size() + 4);
  auto coord = [axis, sign](Point p) { return sign * (axis == 0 ? p.x : p.y); };
  auto inside = [&](Point p) { return coord(p) <= limit; };
  auto cross = [&](Point a, Point b) {
    const double t = (limit - coord(a)) / (coord(b) - coord(a));
    Point r{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
    // Put the crossing exactly on the edge.
    (axis == 0 ? r.x : r.y) = sign * limit;
    return r;
  };
  Point prev = in.back();
  for (const Point& cur : in) {
    const bool ci = inside(cur), pi = inside(prev);
    if (ci) {
      if (!pi) out.push_back(cross(prev, cur));
      out.push_back(cur);
    } else if (pi) {
      out.push_back(cross(prev, cur));
    }
    prev = cur;
  }
  return out;
}

// Liang-Barsky clip of one segment; false when nothing of it is inside.
bool clip_segment(Point& a, Point& b, double limit) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x + limit, limit - a.x, a.y + limit, limit - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  const Point a0 = a;
  a = {a0.x + t0 * dx, a0.y + t0 * dy};
  b = {a0.x + t1 * dx, a0.y + t1 * dy};
  return true;
}

}  // namespace

std::vector<Point> clip_polygon(const std::vector<Point>& poly, double limit) {
  std::vector<Point> r = clip_edge(poly, 0, 1.0, limit);
  r = clip_edge(r, 0, -1.0, limit);
  r = clip_edge(r, 1, 1.0, limit);
  r = clip_edge(r, 1, -1.0, limit);
  return r;
}

std::vector<std::vector<Point>> clip_polyline(const std::vector<Point>& line, double limit) {
  std::vector<std::vector<Point>> pieces;
  bool joined = false;  // the last piece ends where the next segment starts
  for (std::size_t i = 1; i < line.size(); ++i) {
    Point a = line[i - 1], b = line[i];
    if (!clip_segment(a, b, limit)) {
      joined = false;
      continue;
    }
    if (!joined || a != line[i - 1]) pieces.push_back({a});
    pieces.back().push_back(b);
    joined = b == line[i];
  }
  return pieces;
}

}  // namespace zarn_ui::render_detail

#pragma once
// Paths in device space for geometry that reaches beyond what Cairo's fixed-point rasteriser
// holds: transformed, flattened near the drawable area, and clipped to a square box.

#include <vector>

#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"

namespace zarn_ui::render_detail {

// Coordinates further out than this never reach Cairo.
inline constexpr double kCoordLimit = 1e6;

struct Polyline {
  std::vector<Point> points;
  bool closed = false;
};

// Control-point bounding box of the path under `m`; nullopt for an empty path.
std::optional<Rect> device_bounds(const BezPath& path, const Affine& m);

// The path under `m`, flattened to `tolerance` device pixels wherever it can be seen inside the
// box [-limit, limit]^2 (far-away pieces become straight chords that stay outside the box).
std::vector<Polyline> flatten(const BezPath& path, const Affine& m, double tolerance, double limit);

// A closed polygon clipped to the box; the non-zero winding inside the box is unchanged.
std::vector<Point> clip_polygon(const std::vector<Point>& poly, double limit);

// An open polyline cut into the pieces that lie inside the box.
std::vector<std::vector<Point>> clip_polyline(const std::vector<Point>& line, double limit);

}  // namespace zarn_ui::render_detail

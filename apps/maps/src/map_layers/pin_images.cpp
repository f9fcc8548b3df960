#include "map_layers/pin_images.hpp"

#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "map_layers/pin.hpp"
#include "zarn_ui/render.hpp"

namespace maps {

namespace {

// Logical room around the tip: the head with its halo above, the shadow below.
constexpr double kHalfWidth = 11.0;
constexpr double kAbove = 33.0;
constexpr double kBelow = 3.0;
// Kinds of image kept at most: a theme's category colours at a scale or two.
constexpr std::size_t kMaxImages = 64;

}  // namespace

const zarn_ui::Image& PinImages::image(const Color& color, const MapPalette& palette, double device_scale, Point& tip) {
  for (const Made& m : made_) {
    if (m.color == color && m.halo == palette.halo && m.scale == device_scale) {
      tip = m.tip;
      return m.image;
    }
  }
  if (made_.size() >= kMaxImages) made_.clear();
  const double s = device_scale;
  // The tip on a whole device pixel, so that stamps land where the pin is.
  const Point at{std::round(kHalfWidth * s), std::round(kAbove * s)};
  Scene scene;
  paint_pin(scene, Affine::identity(), {at.x / s, at.y / s}, color, palette, false);
  const auto w = static_cast<std::uint32_t>(std::ceil(2.0 * kHalfWidth * s));
  const auto h = static_cast<std::uint32_t>(std::ceil((kAbove + kBelow) * s));
  made_.push_back({color, palette.halo, s, zarn_ui::render::render_to_image(scene, w, h, s), at});
  tip = at;
  return made_.back().image;
}

void PinImages::paint_crowd(Scene& scene, const Affine& transform, const std::vector<Point>& tips,
                            const std::vector<Color>& colors, const MapPalette& palette, double device_scale) {
  const std::vector<std::size_t> kept = thin_points(tips, kSpacing);
  // One stamp item per run of one colour, so that pins still lie in their drawing order.
  std::size_t i = 0;
  while (i < kept.size()) {
    const Color& color = colors[kept[i]];
    std::vector<Point> at;
    for (; i < kept.size() && colors[kept[i]] == color; ++i) at.push_back(tips[kept[i]]);
    Point tip;
    const zarn_ui::Image& img = image(color, palette, device_scale, tip);
    if (!img.empty()) scene.stamp_image(img, tip, std::move(at), transform);
  }
}

std::vector<std::size_t> thin_points(const std::vector<Point>& points, double spacing) {
  std::vector<std::size_t> kept;
  if (!(spacing > 0.0)) {
    for (std::size_t i = 0; i < points.size(); ++i) kept.push_back(i);
    return kept;
  }
  // Kept points by grid cell of the spacing: a close one lies in one of the nine around.
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> cells;
  const auto cell_of = [spacing](double v) { return static_cast<std::int64_t>(std::floor(v / spacing)); };
  const auto key = [](std::int64_t cx, std::int64_t cy) {
    return (static_cast<std::uint64_t>(cx) << 32) ^ static_cast<std::uint64_t>(static_cast<std::uint32_t>(cy));
  };
  const double min2 = spacing * spacing;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Point p = points[i];
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    const std::int64_t cx = cell_of(p.x), cy = cell_of(p.y);
    bool near = false;
    for (std::int64_t dy = -1; dy <= 1 && !near; ++dy) {
      for (std::int64_t dx = -1; dx <= 1 && !near; ++dx) {
        const auto it = cells.find(key(cx + dx, cy + dy));
        if (it == cells.end()) continue;
        for (std::size_t k : it->second) {
          const double ex = points[k].x - p.x, ey = points[k].y - p.y;
          if (ex * ex + ey * ey < min2) {
            near = true;
            break;
          }
        }
      }
    }
    if (near) continue;
    kept.push_back(i);
    cells[key(cx, cy)].push_back(i);
  }
  return kept;
}

}  // namespace maps

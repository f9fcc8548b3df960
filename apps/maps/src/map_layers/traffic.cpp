#include "map_layers/traffic.hpp"

#include <array>
#include <optional>

#include "draw_kit/primitives.hpp"
#include "map_layers/vector_map.hpp"

namespace maps {

namespace {

constexpr std::array<double, kTrafficLevelCount> kLevelWidths = {2.2, 2.7, 3.1, 3.4};
constexpr double kCasingExtra = 2.0;

// Strokes the segments in drawing order, continuing one line while a segment starts where the
// last one ended with the same opaque colour and width: a round join there covers exactly what
// the two round caps would, so the picture is unchanged while Cairo strokes far fewer caps
// (the city's streets come as chains of two-point segments).
class StrokeChains {
 public:
  StrokeChains(Scene& scene, const Affine& transform) : scene_(scene), transform_(transform) {}
  ~StrokeChains() { flush(); }
  StrokeChains(const StrokeChains&) = delete;
  StrokeChains& operator=(const StrokeChains&) = delete;

  void add(const std::vector<Point>& points, const Color& color, double width) {
    if (points.size() < 2) return;
    const bool continues = path_ && color == color_ && width == width_ && color.a >= 1.0f && points.front() == last_;
    if (!continues) {
      flush();
      path_.emplace();
      path_->move_to(points.front());
      color_ = color;
      width_ = width;
    }
    for (std::size_t i = 1; i < points.size(); ++i) path_->line_to(points[i]);
    last_ = points.back();
  }

 private:
  void flush() {
    if (path_) stroke_path(scene_, transform_, *path_, color_, width_);
    path_.reset();
  }

  Scene& scene_;
  const Affine& transform_;
  std::optional<BezPath> path_;
  Color color_;
  double width_ = 0.0;
  Point last_;
};

}  // namespace

double traffic_line_width(TrafficLevel level, double zoom) {
  const auto index = static_cast<std::size_t>(level);
  const std::size_t i = index < kTrafficLevelCount ? index : kTrafficLevelCount - 1;
  return kLevelWidths[i] * map_zoom_scale(zoom);
}

void paint_traffic(Scene& scene, const Affine& transform, const Camera& camera,
                   const std::vector<TrafficSegment>& segments, const MapPalette& palette) {
  {
    StrokeChains casings(scene, transform);
    for (const TrafficSegment& s : segments) {
      casings.add(project_polyline(camera, s.points), palette.traffic_casing,
                  traffic_line_width(s.level, camera.zoom) + kCasingExtra);
    }
  }
  StrokeChains lines(scene, transform);
  for (const TrafficSegment& s : segments) {
    lines.add(project_polyline(camera, s.points), traffic_color(palette, s.level),
              traffic_line_width(s.level, camera.zoom));
  }
}

}  // namespace maps

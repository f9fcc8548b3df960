// Pixel probes of the sample city's map layers replayed onto Cairo: areas, roads and the river
// show in their palette colours in light and dark themes. Probes sit well inside shapes, away
// from every anti-aliased edge.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "draw_kit/palette.hpp"
#include "geo/screen_view.hpp"
#include "map_layers/traffic.hpp"
#include "map_layers/vector_map.hpp"
#include "sample/demo_city.hpp"
#include "sample/synthetic_traffic.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

using zarn_ui::Affine;
using zarn_ui::Scene;
using zarn_ui::theme::Theme;

constexpr std::uint32_t kW = 1280, kH = 800;
const Rect kBounds{0, 0, kW, kH};

double segment_distance(Point p, Point a, Point b) {
  const Point d = b - a;
  const double len2 = d.x * d.x + d.y * d.y;
  const double t = len2 > 0 ? std::clamp(((p.x - a.x) * d.x + (p.y - a.y) * d.y) / len2, 0.0, 1.0) : 0.0;
  const Point q = a + d * t;
  return std::hypot(p.x - q.x, p.y - q.y);
}

double polyline_distance(Point p, const std::vector<Point>& pts) {
  double best = 1e300;
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) best = std::min(best, segment_distance(p, pts[i], pts[i + 1]));
  if (pts.size() == 1) best = std::hypot(p.x - pts[0].x, p.y - pts[0].y);
  return best;
}

bool inside(Point p, const std::vector<Point>& ring) {
  bool in = false;
  for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    if ((ring[i].y > p.y) != (ring[j].y > p.y) &&
        p.x < (ring[j].x - ring[i].x) * (p.y - ring[i].y) / (ring[j].y - ring[i].y) + ring[i].x) {
      in = !in;
    }
  }
  return in;
}

struct City {
  VectorMap map = demo_city_geometry();
  Camera camera = view_camera(kBounds, {48.1371, 11.5754}, 14.4);

  // Clear of every road (with its casing), of the river and of any ring edge by `margin` px.
  bool clear(Point p, double margin, bool skip_river = false) const {
    if (p.x < 20 || p.y < 20 || p.x > kW - 20 || p.y > kH - 20) return false;
    for (const MapRoad& r : map.roads) {
      if (polyline_distance(p, project_polyline(camera, r.points)) < vector_line_width(r.road_class, 14.4) + margin) {
        return false;
      }
    }
    if (!skip_river && polyline_distance(p, project_polyline(camera, map.river)) < 13.44 * 1.84 / 2 + margin) {
      return false;
    }
    for (const MapArea& a : map.areas) {
      auto ring = project_polyline(camera, a.ring);
      ring.push_back(ring.front());
      if (polyline_distance(p, ring) < margin) return false;
    }
    return true;
  }

  // A point inside an area of this class and no area drawn over it.
  std::optional<Point> inside_area(AreaClass cls) const {
    for (std::size_t i = 0; i < map.areas.size(); ++i) {
      if (map.areas[i].area_class != cls) continue;
      const auto ring = project_polyline(camera, map.areas[i].ring);
      Point c{0, 0};
      for (const Point& q : ring) c = c + q * (1.0 / ring.size());
      if (!inside(c, ring) || !clear(c, 4)) continue;
      const bool covered = std::any_of(map.areas.begin(), map.areas.end(), [&](const MapArea& o) {
        return &o != &map.areas[i] && o.area_class == AreaClass::Block && cls != AreaClass::Block &&
               inside(c, project_polyline(camera, o.ring));
      });
      if (!covered) return c;
    }
    return std::nullopt;
  }

  // A point of bare ground: outside every area, clear of roads and the river.
  std::optional<Point> on_land() const {
    for (double y = 30; y < kH - 30; y += 7) {
      for (double x = 30; x < kW - 30; x += 7) {
        const Point p{x, y};
        if (!clear(p, 4)) continue;
        const bool in_area = std::any_of(map.areas.begin(), map.areas.end(), [&](const MapArea& a) {
          return a.area_class <= AreaClass::Block && inside(p, project_polyline(camera, a.ring));
        });
        if (!in_area) return p;
      }
    }
    return std::nullopt;
  }

  // The middle of a river segment, away from streets and areas' edges.
  std::optional<Point> on_river() const {
    const auto pts = project_polyline(camera, map.river);
    for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
      const Point m = (pts[i] + pts[i + 1]) * 0.5;
      if (clear(m, 4, true)) return m;
    }
    return std::nullopt;
  }

  // The middle of an avenue segment that no road drawn after it crosses.
  std::optional<Point> on_avenue() const {
    for (std::size_t k = 0; k < map.roads.size(); ++k) {
      const MapRoad& r = map.roads[k];
      if (r.road_class != RoadClass::Avenue) continue;
      const auto pts = project_polyline(camera, r.points);
      for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
        const Point m = (pts[i] + pts[i + 1]) * 0.5;
        if (m.x < 20 || m.y < 20 || m.x > kW - 20 || m.y > kH - 20) continue;
        bool crossed = false;
        for (std::size_t o = k + 1; o < map.roads.size(); ++o) {
          if (polyline_distance(m, project_polyline(camera, map.roads[o].points)) < 12) crossed = true;
        }
        if (!crossed && polyline_distance(m, project_polyline(camera, map.river)) > 20) return m;
      }
    }
    return std::nullopt;
  }
};

Rgba8 pixel(const std::vector<std::uint8_t>& rgba, Point p) {
  const std::size_t i = (static_cast<std::size_t>(p.y) * kW + static_cast<std::size_t>(p.x)) * 4;
  return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
}

void expect_colour(const std::vector<std::uint8_t>& rgba, std::optional<Point> p, const Color& c, const char* what) {
  ASSERT_TRUE(p.has_value()) << what;
  const Rgba8 got = pixel(rgba, *p), want = color_to_rgba8(c);
  EXPECT_NEAR(got.r, want.r, 1) << what << " at " << p->x << "," << p->y;
  EXPECT_NEAR(got.g, want.g, 1) << what;
  EXPECT_NEAR(got.b, want.b, 1) << what;
  EXPECT_EQ(got.a, 255) << what;
}

class CityPixels : public ::testing::TestWithParam<bool> {};

TEST_P(CityPixels, AreasRoadsAndRiverShowInTheirColours) {
  const Theme theme = GetParam() ? Theme::dark() : Theme::light();
  const MapPalette palette = map_palette(theme);
  const City city;
  Scene scene;
  paint_vector_map(scene, Affine::identity(), kBounds, city.camera, city.map, palette);
  auto renderer = zarn_ui::offscreen::OffscreenRenderer::create(kW, kH);
  ASSERT_TRUE(renderer.is_ok());
  const auto rgba = renderer->render_resilient(scene);

  expect_colour(rgba, city.inside_area(AreaClass::Block), palette.block, "block");
  expect_colour(rgba, city.inside_area(AreaClass::Park), palette.park, "park");
  expect_colour(rgba, city.on_river(), palette.water, "river");
  expect_colour(rgba, city.on_avenue(), palette.major_road, "avenue");
  expect_colour(rgba, city.on_land(), palette.land, "land");
}

TEST_P(CityPixels, TrafficCoversTheAvenue) {
  const Theme theme = GetParam() ? Theme::dark() : Theme::light();
  const MapPalette palette = map_palette(theme);
  const City city;
  Scene scene;
  paint_vector_map(scene, Affine::identity(), kBounds, city.camera, city.map, palette);
  const auto segments = synthetic_traffic(city.map).segments;
  paint_traffic(scene, Affine::identity(), city.camera, segments, palette);
  auto renderer = zarn_ui::offscreen::OffscreenRenderer::create(kW, kH);
  ASSERT_TRUE(renderer.is_ok());
  const auto rgba = renderer->render_resilient(scene);
  const auto p = city.on_avenue();
  ASSERT_TRUE(p.has_value());
  // The avenue segment's own level colour lies on top at its middle.
  const Rgba8 got = pixel(rgba, *p);
  bool matches_a_level = false;
  // Avenues are never free flowing.
  for (TrafficLevel level : {TrafficLevel::Moderate, TrafficLevel::Heavy, TrafficLevel::Standstill}) {
    const Rgba8 want = color_to_rgba8(traffic_color(palette, level));
    matches_a_level |= std::abs(got.r - want.r) <= 1 && std::abs(got.g - want.g) <= 1 && std::abs(got.b - want.b) <= 1;
  }
  EXPECT_TRUE(matches_a_level);
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, CityPixels, ::testing::Bool());

}  // namespace
}  // namespace maps

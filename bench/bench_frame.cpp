// Whole map frames: MapsApp::draw into a scene and its Cairo replay, for the sample city with
// traffic and for a view of loaded raster tiles; beside them the same tile images drawn with
// plain Cairo calls, the floor the tile frame compares to.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "sample/synthetic_traffic.hpp"
#include "tiles/tile_geometry.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/theme.hpp"

namespace {

using namespace maps;
using zarn_ui::Affine;
using zarn_ui::Image;

struct Surface {
  explicit Surface(double w, double h, double scale)
      : ptr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w * scale), static_cast<int>(h * scale))) {
  }
  ~Surface() { cairo_surface_destroy(ptr); }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  cairo_surface_t* ptr;
};

Image tile_image(int seed) {
  std::vector<std::uint8_t> px(256 * 256 * 4);
  for (std::size_t p = 0; p < 256 * 256; ++p) {
    px[4 * p] = static_cast<std::uint8_t>(p * 7 + seed);
    px[4 * p + 1] = static_cast<std::uint8_t>(p >> 8);
    px[4 * p + 2] = static_cast<std::uint8_t>(seed * 8);
    px[4 * p + 3] = 255;
  }
  return Image::from_rgba8(256, 256, std::move(px));
}

std::vector<VisibleTile> view_tiles(const MapsApp& app) {
  const Rect& b = app.bounds_rect;
  const Point c = map_viewport_center(b);
  return visible_tiles(b.x0, b.y0, b.x1, b.y1, app.model.center.lat, app.model.center.lon, app.model.zoom, c.x, c.y);
}

std::unique_ptr<MapsApp> city_app(double w, double h) {
  auto app = new_sample_app();
  app->bounds_rect = {0, 0, w, h};
  app->backend.traffic.enabled = true;
  app->backend.traffic.segments = synthetic_traffic(app->vector_map).segments;
  return app;
}

// The empty state (no vector map) with every visible tile loaded.
std::unique_ptr<MapsApp> tile_app(double w, double h) {
  auto app = new_empty_app();
  app->bounds_rect = {0, 0, w, h};
  int seed = 0;
  for (const VisibleTile& t : view_tiles(*app)) {
    app->backend.tiles.decoded[t.key] = tile_image(seed++);
    app->backend.tiles.lru.push_back(t.key);
  }
  return app;
}

void run_frames(benchmark::State& state, MapsApp& app, double scale) {
  const auto theme = zarn_ui::theme::Theme::light();
  auto text = zarn_ui::text_render::TextRenderer::create();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
  Surface surface(app.bounds_rect.width(), app.bounds_rect.height(), scale);
  std::size_t items = 0;
  for (auto _ : state) {
    zarn_ui::Scene scene;
    app.draw(scene, Affine::identity(), ctx);
    auto r = zarn_ui::render::replay_to_surface(surface.ptr, scene, scale, &text);
    benchmark::DoNotOptimize(r);
    items = scene.size();
  }
  state.counters["items"] = static_cast<double>(items);
}

// Args: logical width, height, device scale.
void city_frame(benchmark::State& state) {
  auto app = city_app(static_cast<double>(state.range(0)), static_cast<double>(state.range(1)));
  run_frames(state, *app, static_cast<double>(state.range(2)));
}
BENCHMARK(city_frame)->Args({1280, 800, 1})->Args({2560, 1600, 1})->Args({1280, 800, 2})->Unit(benchmark::kMillisecond);

void city_frame_without_traffic(benchmark::State& state) {
  auto app = city_app(1280, 800);
  app->backend.traffic.enabled = false;
  run_frames(state, *app, 1.0);
}
BENCHMARK(city_frame_without_traffic)->Unit(benchmark::kMillisecond);

// Only building the display list of the city frame.
void city_scene_only(benchmark::State& state) {
  auto app = city_app(1280, 800);
  const auto theme = zarn_ui::theme::Theme::light();
  auto text = zarn_ui::text_render::TextRenderer::create();
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  const zarn_ui::widget::PaintCtx ctx{text, theme, presence, permissions};
  for (auto _ : state) {
    zarn_ui::Scene scene;
    app->draw(scene, Affine::identity(), ctx);
    benchmark::DoNotOptimize(scene);
  }
}
BENCHMARK(city_scene_only)->Unit(benchmark::kMillisecond);

void tile_frame(benchmark::State& state) {
  auto app = tile_app(static_cast<double>(state.range(0)), static_cast<double>(state.range(1)));
  state.counters["tiles"] = static_cast<double>(app->backend.tiles.decoded.size());
  run_frames(state, *app, static_cast<double>(state.range(2)));
}
BENCHMARK(tile_frame)->Args({1280, 800, 1})->Args({1280, 800, 2})->Unit(benchmark::kMillisecond);

// The same tile images at the same places with plain Cairo calls.
void bare_tiles(benchmark::State& state) {
  auto app = tile_app(static_cast<double>(state.range(0)), static_cast<double>(state.range(1)));
  const double scale = static_cast<double>(state.range(2));
  const std::vector<VisibleTile> tiles = view_tiles(*app);
  Surface surface(app->bounds_rect.width(), app->bounds_rect.height(), scale);
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface.ptr);
    cairo_scale(cr, scale, scale);
    for (const VisibleTile& t : tiles) {
      const Image& image = app->backend.tiles.decoded.at(t.key);
      cairo_pattern_t* p = cairo_pattern_create_for_surface(image.cairo_surface());
      cairo_matrix_t m;
      cairo_matrix_init_scale(&m, 256.0 / (t.x1 - t.x0), 256.0 / (t.y1 - t.y0));
      cairo_matrix_translate(&m, -t.x0, -t.y0);
      cairo_pattern_set_matrix(p, &m);
      cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
      cairo_pattern_set_filter(p, CAIRO_FILTER_BILINEAR);
      cairo_set_source(cr, p);
      cairo_rectangle(cr, t.x0, t.y0, t.x1 - t.x0, t.y1 - t.y0);
      cairo_fill(cr);
      cairo_pattern_destroy(p);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface.ptr);
  }
  state.counters["tiles"] = static_cast<double>(tiles.size());
}
BENCHMARK(bare_tiles)->Args({1280, 800, 1})->Args({1280, 800, 2})->Unit(benchmark::kMillisecond);

}  // namespace

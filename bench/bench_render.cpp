// Frame cost of replaying a busy map frame onto Cairo, against plain Cairo drawing of its images.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/render.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"

namespace {

using namespace zarn_ui;

constexpr int kImages = 30;
constexpr int kTexts = 150;

std::vector<Image> make_images() {
  std::vector<Image> out;
  for (int i = 0; i < kImages; ++i) {
    std::vector<std::uint8_t> px(256 * 256 * 4);
    for (std::size_t p = 0; p < 256 * 256; ++p) {
      px[4 * p] = static_cast<std::uint8_t>(p * 7 + i);
      px[4 * p + 1] = static_cast<std::uint8_t>(p >> 8);
      px[4 * p + 2] = static_cast<std::uint8_t>(i * 8);
      px[4 * p + 3] = 255;
    }
    out.push_back(Image::from_rgba8(256, 256, std::move(px)));
  }
  return out;
}

// Tile positions of the images: a 6 x 5 grid of 256 px tiles shifted like a panned map.
Rect tile_rect(int i) {
  const double x = (i % 6) * 256.0 - 100.0, y = (i / 6) * 256.0 - 150.0;
  return {x, y, x + 256.0, y + 256.0};
}

// About 3,000 items: tiles, roads as polylines, blocks, markers and labels.
Scene make_scene(const std::vector<Image>& images, const text_render::TextRenderer& text) {
  Scene s;
  s.push_layer(Rect{0, 0, 1280, 800});
  for (int i = 0; i < kImages; ++i) {
    const Rect r = tile_rect(i);
    s.fill(r, Color::rgba(0.9f, 0.9f, 0.88f));
    s.draw_image(images[i], Affine::translate(r.x0, r.y0), r);
  }
  s.pop_layer();
  std::uint32_t seed = 12345;
  auto rnd = [&seed](double lo, double hi) {
    seed = seed * 1664525u + 1013904223u;
    return lo + (hi - lo) * (seed >> 8) / 16777216.0;
  };
  for (int i = 0; i < 600; ++i) {  // roads: casing and line
    BezPath p;
    Point q{rnd(0, 1280), rnd(0, 800)};
    p.move_to(q);
    for (int k = 0; k < 6; ++k) {  // a street: short segments in a random walk
      q = q + Point{rnd(-60, 60), rnd(-60, 60)};
      p.line_to(q);
    }
    s.stroke(p, Color::rgba(0.5f, 0.5f, 0.5f), 6.0);
    s.stroke(p, Color::rgba(1, 1, 1), 4.0);
  }
  for (int i = 0; i < 700; ++i) {  // blocks
    BezPath p;
    const double x = rnd(0, 1280), y = rnd(0, 800);
    p.move_to({x, y}).line_to({x + rnd(10, 40), y}).line_to({x + rnd(10, 40), y + rnd(10, 40)}).line_to({x, y + 20});
    p.close_path();
    s.fill(p, Color::rgba(0.8f, 0.78f, 0.75f));
  }
  for (int i = 0; i < 600; ++i) {  // markers
    const Point c{rnd(0, 1280), rnd(0, 800)};
    s.fill(Circle{c, 9}, Color::rgba(0.2f, 0.4f, 0.9f));
    if (i % 2 == 0) s.stroke(Circle{c, 9}, Color::rgba(1, 1, 1), 2.0);
  }
  for (int i = 0; i < 200; ++i) {  // panels and buttons
    const double x = rnd(0, 1200), y = rnd(0, 760);
    s.fill(RoundedRect::make({x, y, x + 80, y + 32}, 10), Color::rgba(1, 1, 1, 0.9f));
  }
  for (int i = 0; i < kTexts; ++i) {
    text.draw_text(s, Affine::translate(rnd(0, 1200), rnd(0, 780)), "Label " + std::to_string(i % 40), 13.0f,
                   Color::rgba(0.1f, 0.1f, 0.1f));
  }
  return s;
}

void replay_frame(benchmark::State& state) {
  const double scale = static_cast<double>(state.range(0));
  const std::vector<Image> images = make_images();
  const text_render::TextRenderer text = text_render::TextRenderer::create();
  const Scene scene = make_scene(images, text);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(1280 * scale), static_cast<int>(800 * scale));
  for (auto _ : state) {
    auto r = render::replay_to_surface(surface, scene, scale, &text);
    benchmark::DoNotOptimize(r);
  }
  state.counters["items"] = static_cast<double>(scene.size());
  cairo_surface_destroy(surface);
}
BENCHMARK(replay_frame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same frame through the shot path: clear, replay, read back straight RGBA.
void offscreen_frame(benchmark::State& state) {
  const std::vector<Image> images = make_images();
  const text_render::TextRenderer text = text_render::TextRenderer::create();
  const Scene scene = make_scene(images, text);
  auto renderer = offscreen::OffscreenRenderer::create(1280, 800);
  renderer->set_text_renderer(text);
  for (auto _ : state) benchmark::DoNotOptimize(renderer->render_resilient(scene));
}
BENCHMARK(offscreen_frame)->Unit(benchmark::kMillisecond);

// Only the 30 images, with plain Cairo calls: the floor the replay's image cost compares to.
void plain_cairo_images(benchmark::State& state) {
  const double scale = static_cast<double>(state.range(0));
  const std::vector<Image> images = make_images();
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(1280 * scale), static_cast<int>(800 * scale));
  for (auto _ : state) {
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    for (int i = 0; i < kImages; ++i) {
      const Rect r = tile_rect(i);
      cairo_pattern_t* p = cairo_pattern_create_for_surface(images[i].cairo_surface());
      cairo_matrix_t m;
      cairo_matrix_init_translate(&m, -r.x0, -r.y0);
      cairo_pattern_set_matrix(p, &m);
      cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
      cairo_pattern_set_filter(p, CAIRO_FILTER_BILINEAR);
      cairo_set_source(cr, p);
      cairo_rectangle(cr, r.x0, r.y0, r.width(), r.height());
      cairo_fill(cr);
      cairo_pattern_destroy(p);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
  }
  cairo_surface_destroy(surface);
}
BENCHMARK(plain_cairo_images)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Only the images, through the scene and replay.
void replay_images(benchmark::State& state) {
  const double scale = static_cast<double>(state.range(0));
  const std::vector<Image> images = make_images();
  Scene scene;
  for (int i = 0; i < kImages; ++i)
    scene.draw_image(images[i], Affine::translate(tile_rect(i).x0, tile_rect(i).y0), tile_rect(i));
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(1280 * scale), static_cast<int>(800 * scale));
  for (auto _ : state) benchmark::DoNotOptimize(render::replay_to_surface(surface, scene, scale));
  cairo_surface_destroy(surface);
}
BENCHMARK(replay_images)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

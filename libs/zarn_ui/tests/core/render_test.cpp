#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "probe.hpp"
#include "zarn_ui/render.hpp"

namespace zarn_ui {
namespace {

using testing::kBlue;
using testing::kClear;
using testing::kGreen;
using testing::kRed;
using testing::Rgba;

struct Replayed {
  testing::Frame frame;
  render::ReplayReport report;
};

Replayed replay(const Scene& scene, double scale = 1.0, int w = 64, int h = 64) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  auto report = render::replay_to_surface(s, scene, scale);
  EXPECT_TRUE(report.is_ok()) << (report.is_ok() ? "" : report.error());
  Replayed out{{static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h), offscreen::surface_rgba8(s)},
               report.is_ok() ? *report : render::ReplayReport{}};
  cairo_surface_destroy(s);
  return out;
}

struct Probe {
  std::uint32_t x, y;
  Rgba want;
};

void expect_probes(const testing::Frame& f, std::initializer_list<Probe> probes) {
  for (const Probe& p : probes) EXPECT_EQ(f.at(p.x, p.y), p.want) << "at " << p.x << "," << p.y;
}

TEST(Replay, FilledShapes) {
  struct Case {
    const char* name;
    Shape shape;
    std::vector<Probe> probes;
  };
  BezPath twice;  // two overlapping squares wound the same way: non-zero fills the overlap
  for (double o : {0.0, 10.0}) {
    twice.move_to({10 + o, 10 + o}).line_to({40 + o, 10 + o}).line_to({40 + o, 40 + o}).line_to({10 + o, 40 + o});
    twice.close_path();
  }
  BezPath curve;
  curve.move_to({0, 60}).quad_to({32, -20}, {64, 60}).close_path();
  const Case cases[] = {
      {"rect", Rect{10, 10, 30, 30}, {{20, 20, kRed}, {5, 5, kClear}, {40, 40, kClear}}},
      {"reversed rect", Rect{30, 30, 10, 10}, {{20, 20, kRed}, {40, 40, kClear}}},
      {"rounded", RoundedRect::make({0, 0, 64, 64}, 20), {{1, 1, kClear}, {32, 32, kRed}, {1, 32, kRed}}},
      {"circle", Circle{{32, 32}, 10}, {{32, 32, kRed}, {32, 25, kRed}, {32, 19, kClear}, {23, 23, kClear}}},
      {"ellipse", Ellipse{{4, 24, 60, 40}}, {{6, 32, kRed}, {57, 32, kRed}, {32, 21, kClear}, {32, 42, kClear}}},
      {"non-zero", twice, {{25, 25, kRed}, {45, 45, kRed}, {45, 15, kClear}}},
      {"quad", curve, {{32, 40, kRed}, {32, 10, kClear}, {2, 30, kClear}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scene s;
    s.fill(c.shape, testing::red());
    const Replayed r = replay(s);
    EXPECT_EQ(r.report.drawn, 1u);
    for (const Probe& p : c.probes) EXPECT_EQ(r.frame.at(p.x, p.y), p.want) << "at " << p.x << "," << p.y;
  }
}

TEST(Replay, StrokesHaveRoundCapsAndFollowTheTransform) {
  Scene s;
  s.stroke(Line{{10, 32}, {54, 32}}, testing::green(), 6.0);
  // A rectangle outline drawn through a translation and a scale of 2: 1 px wide becomes 2 px.
  s.stroke(Rect{0, 0, 10, 5}, testing::blue(), 1.0, Affine::translate(20, 4) * Affine::scale(2));
  const Replayed r = replay(s);
  expect_probes(r.frame, {{32, 32, kGreen},
                          {32, 25, kClear},
                          {8, 32, kGreen},  // inside the round cap beyond the end point
                          {5, 32, kClear},
                          {20, 10, kBlue},   // left edge of the outline at x = 20
                          {30, 10, kClear},  // inside the outline
                          {30, 4, kBlue}});
}

TEST(Replay, LayersClipAndFade) {
  Scene s;
  s.push_layer(Rect{0, 0, 32, 64});
  s.fill(Rect{0, 0, 64, 64}, testing::red());
  s.pop_layer();
  s.fill(Rect{40, 40, 60, 60}, testing::blue());
  s.push_layer(Rect{40, 0, 64, 20}, Affine::identity(), 0.5f);
  s.fill(Rect{0, 0, 64, 64}, testing::green());
  s.pop_layer();
  const Replayed r = replay(s);
  expect_probes(r.frame, {{10, 10, kRed}, {50, 30, kClear}, {50, 50, kBlue}, {36, 10, kClear}});
  const Rgba faded = r.frame.at(50, 10);
  EXPECT_EQ(faded[1], 255);  // straight alpha: the colour stays, the coverage halves
  EXPECT_NEAR(faded[3], 128, 1);
}

TEST(Replay, ImagesUseTheBrushTransformAndPad) {
  // 2 x 2 pixels: red, green / blue, white.
  const Image img = Image::from_rgba8(2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255});
  Scene s;
  // Pixel centres of the probes land on image pixel centres: no blending with neighbours.
  s.draw_image(img, Affine::translate(16.5, 16.5) * Affine::scale(16), Rect{0, 0, 64, 64});
  const Replayed r = replay(s);
  expect_probes(r.frame, {{24, 24, kRed},
                          {40, 24, kGreen},
                          {24, 40, kBlue},
                          {40, 40, {255, 255, 255, 255}},
                          {2, 2, kRed},  // pad extends the edge pixels
                          {62, 62, {255, 255, 255, 255}}});

  // The sub-square of an ancestor image: the right half of its bottom row scaled over 0..32.
  Scene sub;
  sub.draw_image(img, Affine::scale(32) * Affine::translate(-1, -1), Rect{0, 0, 32, 32}, Affine::identity(), 0.5f);
  const Replayed half = replay(sub);
  const Rgba px = half.frame.at(16, 16);
  EXPECT_EQ((Rgba{px[0], px[1], px[2], 0}), (Rgba{255, 255, 255, 0}));
  EXPECT_NEAR(px[3], 128, 1);
  EXPECT_EQ(half.frame.at(48, 48), kClear);  // the shape bounds the image
}

TEST(Replay, BadItemsAreSkippedAloneAndHugeGeometryIsClipped) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  Scene s;
  s.fill(Rect{-1e9, -1e9, 1e9, 1e9}, testing::green());                    // clipped, covers everything
  s.fill(Rect{0, 0, 64, 64}, testing::red(), Affine{nan, 0, 0, 1, 0, 0});  // skipped
  s.fill(Rect{0, 0, 64, 64}, testing::red(), Affine::scale(0));            // not invertible: skipped
  s.fill(Circle{{32, 32}, nan}, testing::red());                           // non-finite geometry: skipped
  s.stroke(Line{{0, 0}, {64, 64}}, testing::red(), inf);                   // skipped
  s.push_layer(Rect{0, 0, 64, 64}, Affine{1, 0, 0, 1, inf, 0});            // skipped with its content
  s.fill(Rect{0, 0, 64, 64}, testing::red());
  s.push_layer(Rect{0, 0, 64, 64});
  s.fill(Rect{0, 0, 64, 64}, testing::red());
  s.pop_layer();
  s.pop_layer();
  s.pop_layer();                                                          // unbalanced: ignored
  s.stroke(Line{{-1e12, 10}, {1e12, 10}}, testing::blue(), 4.0);          // long line, clipped
  s.fill(Circle{{32, 1e7 + 40}, 1e7}, testing::blue());                   // huge circle, top at y = 40
  s.fill(Rect{0, 0, 64, 64}, testing::red(), Affine::translate(3e6, 0));  // entirely off, clipped away
  s.add_text({"x", 12.0f, FontWeight::Normal, Color::black(), Affine{1, 0, 0, 1, nan, 0}, std::nullopt});
  const Replayed r = replay(s);
  expect_probes(r.frame, {{32, 30, kGreen}, {32, 10, kBlue}, {5, 10, kBlue}, {32, 50, kBlue}, {32, 37, kGreen}});
  EXPECT_EQ(r.report.drawn, 4u);
  EXPECT_EQ(r.report.skipped, 10u);
}

TEST(Replay, HugeClipsAndImagesTakeTheClippedRoad) {
  const Image green = Image::from_rgba8(1, 1, {0, 255, 0, 255});
  Scene s;
  s.push_layer(Rect{-1e9, -1e9, 32, 1e9});
  s.draw_image(green, Affine::translate(-1e8, -1e8) * Affine::scale(2e8), Rect{-1e8, -1e8, 1e8, 1e8});
  s.pop_layer();
  s.fill(Rect{0, 0, 1, 1}, testing::red(), Affine::translate(40, 40) * Affine::scale(1e8));  // huge scale
  const Replayed r = replay(s);
  expect_probes(r.frame, {{10, 10, kGreen}, {10, 60, kGreen}, {36, 10, kClear}, {50, 50, kRed}, {36, 36, kClear}});
  EXPECT_EQ(r.report.skipped, 0u);
}

TEST(Replay, DeviceScaleForHiDpi) {
  Scene s;
  s.fill(Rect{5, 5, 10, 10}, testing::red());
  const Replayed r = replay(s, 2.0);
  expect_probes(r.frame, {{11, 11, kRed}, {19, 19, kRed}, {21, 21, kClear}, {9, 9, kClear}});
}

TEST(Replay, RefusesAContextInErrorAndLeavesAGoodOneAsFound) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, 3, 4);
  Scene s;
  s.push_layer(Rect{0, 0, 4, 4});
  s.fill(Rect{0, 0, 2, 2}, testing::red(), Affine::scale(3));
  ASSERT_TRUE(render::replay(cr, s).is_ok());
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  EXPECT_EQ(m.x0, 3);
  EXPECT_EQ(m.y0, 4);
  EXPECT_FALSE(render::replay(cr, s, std::nan("")).is_ok());
  cairo_scale(cr, 0, 0);  // puts the context into an error state
  EXPECT_FALSE(render::replay(cr, s).is_ok());
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

}  // namespace
}  // namespace zarn_ui

namespace zarn_ui::testing {
namespace {

// Geometry outside the target is left out of the replay, but what reaches in by its stroke
// width, its round caps or a layer still shows.
TEST(ReplayCulling, OnlyWhatCannotReachTheTargetIsLeftOut) {
  Scene s;
  s.stroke(Line{{-5, 10}, {-5, 50}}, red(), 12.0);   // centre line off the left edge, reaches 1 px in
  s.stroke(Line{{-50, 10}, {-40, 50}}, red(), 4.0);  // wholly outside
  s.fill(Rect{70, 70, 90, 90}, red());               // below and right of a 64 x 64 target
  s.fill(Circle{{32, -4}, 10}, red());               // reaches in from the top
  const Frame f = render(s);
  EXPECT_EQ(f.at(0, 30), kRed);
  EXPECT_EQ(f.at(32, 2), kRed);
  EXPECT_EQ(f.at(32, 32), kClear);
}

}  // namespace
}  // namespace zarn_ui::testing

namespace zarn_ui {
namespace {

// A scene with antialiased edges at fractional positions.
Scene slanted_scene() {
  Scene s;
  s.fill(Rect{0, 0, 64, 64}, Color::rgba(0.9f, 0.9f, 0.8f));
  s.stroke(Line{{3.3, 5.7}, {60.1, 41.2}}, testing::red(), 3.3);
  s.fill(Circle{{40.4, 20.6}, 9.7}, testing::blue().with_alpha(0.6f));
  return s;
}

TEST(RenderToImage, HoldsWhatAReplayDraws) {
  for (const double scale : {1.0, 2.0}) {
    const Scene s = slanted_scene();
    const auto side = static_cast<std::uint32_t>(64 * scale);
    const Image img = render::render_to_image(s, side, side, scale);
    ASSERT_EQ(img.width(), side);
    EXPECT_EQ(img.to_rgba8(), replay(s, scale, static_cast<int>(side), static_cast<int>(side)).frame.rgba);
  }
  EXPECT_TRUE(render::render_to_image(slanted_scene(), 0, 10).empty());
  EXPECT_TRUE(render::render_to_image(slanted_scene(), 40000, 10).empty());
  EXPECT_TRUE(render::render_to_image(slanted_scene(), 10, 10, std::nan("")).empty());
}

TEST(RenderToImage, DrawnBackAtWholePixelsItIsCopiedExactly) {
  const Image img = render::render_to_image(slanted_scene(), 64, 64);
  const std::vector<std::uint8_t> once = img.to_rgba8();
  for (const Point at : {Point{0, 0}, Point{7, -3}, Point{-20, 11}}) {
    Scene back;
    back.draw_image(img, Affine::translate(at.x, at.y), Rect{0, 0, 64, 64});
    const testing::Frame f = replay(back).frame;
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const int sx = x - static_cast<int>(at.x), sy = y - static_cast<int>(at.y);
        // The pad extension repeats the edge pixels beyond the image.
        const std::size_t i = (std::size_t(std::clamp(sy, 0, 63)) * 64 + std::size_t(std::clamp(sx, 0, 63))) * 4;
        ASSERT_EQ(f.at(x, y), (Rgba{once[i], once[i + 1], once[i + 2], once[i + 3]})) << at.x << "," << at.y;
      }
    }
  }
}

}  // namespace
}  // namespace zarn_ui

namespace zarn_ui {
namespace {

TEST(RenderToImageReusing, KeepsTheOldPixelsAndDrawsOnlyTheFreshParts) {
  Scene old_scene;
  old_scene.fill(Rect{4, 0, 32, 32}, testing::red());
  old_scene.fill(Rect{0, 0, 4, 4}, testing::green().with_alpha(0.5f));  // copied as it is, not blended
  const Image old = render::render_to_image(old_scene, 32, 32);
  Scene everything;
  everything.fill(Rect{0, 0, 64, 64}, testing::blue());
  const std::vector<Rect> fresh = {{0, 0, 64, 8}, {48, 20, 64, 30}};
  const Image img = render::render_to_image_reusing(old, 16, 8, fresh, everything, 64, 64);
  ASSERT_EQ(img.width(), 64u);
  const auto at = [&](std::uint32_t x, std::uint32_t y) {
    const auto p = img.pixel_rgba8(x, y);
    return Rgba{p[0], p[1], p[2], p[3]};
  };
  EXPECT_EQ(at(5, 3), kBlue);    // fresh
  EXPECT_EQ(at(60, 25), kBlue);  // fresh, beside the old picture
  EXPECT_EQ(at(30, 20), kRed);   // the old picture, moved
  EXPECT_EQ(at(17, 9), (Rgba{0, 255, 0, 128}));
  EXPECT_EQ(at(60, 40), kClear);  // neither
  EXPECT_EQ(at(5, 20), kClear);
  // A fresh part over the old picture is drawn afresh there.
  const std::vector<Rect> over = {{20, 10, 30, 20}};
  const Image redrawn = render::render_to_image_reusing(old, 16, 8, over, everything, 64, 64);
  EXPECT_EQ(redrawn.pixel_rgba8(25, 15), (std::array<std::uint8_t, 4>{0, 0, 255, 255}));
  EXPECT_EQ(redrawn.pixel_rgba8(35, 25), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
  // Without an old picture only the fresh parts are drawn.
  const Image alone = render::render_to_image_reusing(Image{}, 0, 0, fresh, everything, 64, 64);
  EXPECT_EQ(alone.pixel_rgba8(5, 3), (std::array<std::uint8_t, 4>{0, 0, 255, 255}));
  EXPECT_EQ(alone.pixel_rgba8(30, 20), (std::array<std::uint8_t, 4>{0, 0, 0, 0}));
}

// The last item outside any layer that paints the whole target opaquely; none when every
// candidate falls short of it.
TEST(CoveringItem, FindsTheLastOpaqueItemOverTheWholeTarget) {
  const Image opaque = Image::from_rgba8(1, 1, {1, 2, 3, 255});
  const Image translucent = Image::from_rgba8(1, 1, {1, 2, 3, 254});
  const Affine brush = Affine::scale(64.0);
  struct Case {
    const char* what;
    std::function<void(Scene&)> build;
    std::optional<std::size_t> want;
  };
  const std::vector<Case> cases = {
      {"nothing", [](Scene&) {}, std::nullopt},
      {"an opaque fill",
       [](Scene& s) {
         s.fill(Rect{0, 0, 64, 64}, testing::red());
       },
       0},
      {"the later of two",
       [](Scene& s) {
         s.fill(Rect{0, 0, 64, 64}, testing::red());
         s.fill(Rect{-5, -5, 70, 70}, testing::blue());
         s.fill(Rect{0, 0, 10, 10}, testing::green());
       },
       1},
      {"translucent",
       [](Scene& s) {
         s.fill(Rect{0, 0, 64, 64}, testing::red().with_alpha(0.99f));
       },
       std::nullopt},
      {"short by a fraction",
       [](Scene& s) {
         s.fill(Rect{0, 0, 63.5, 64}, testing::red());
       },
       std::nullopt},
      {"round corners",
       [](Scene& s) {
         s.fill(RoundedRect::make({0, 0, 64, 64}, 2), testing::red());
       },
       std::nullopt},
      {"rotated",
       [](Scene& s) {
         s.fill(Rect{0, 0, 64, 64}, testing::red(), Affine{0, 1, -1, 0, 64, 0});
       },
       std::nullopt},
      {"scaled into place",
       [](Scene& s) {
         s.fill(Rect{0, 0, 32, 32}, testing::red(), Affine::scale(2.0));
       },
       0},
      {"inside a layer",
       [](Scene& s) {
         s.push_layer(Rect{0, 0, 64, 64});
         s.fill(Rect{0, 0, 64, 64}, testing::red());
         s.pop_layer();
       },
       std::nullopt},
      {"an opaque image",
       [&](Scene& s) {
         s.draw_image(opaque, brush, Rect{0, 0, 64, 64});
       },
       0},
      {"a translucent image",
       [&](Scene& s) {
         s.draw_image(translucent, brush, Rect{0, 0, 64, 64});
       },
       std::nullopt},
      {"an image faded",
       [&](Scene& s) {
         s.draw_image(opaque, brush, Rect{0, 0, 64, 64}, {}, 0.5f);
       },
       std::nullopt},
  };
  for (const Case& c : cases) {
    Scene s;
    c.build(s);
    EXPECT_EQ(render::covering_item(s, 1.0, 64, 64), c.want) << c.what;
  }
  Scene half;
  half.fill(Rect{0, 0, 32, 32}, testing::red());
  EXPECT_EQ(render::covering_item(half, 2.0, 64, 64), std::optional<std::size_t>(0));
  EXPECT_EQ(render::covering_item(half, 1.0, 64, 64), std::nullopt);
}

// A replay that starts at an item leaves out what came before it.
TEST(Replay, StartsAtTheItemGiven) {
  Scene s;
  s.fill(Rect{0, 0, 64, 64}, testing::red());
  s.fill(Rect{0, 0, 32, 64}, testing::blue());
  cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 64, 64);
  ASSERT_TRUE(render::replay_to_surface(target, s, 1.0, nullptr, 1).is_ok());
  const testing::Frame f{64, 64, offscreen::surface_rgba8(target)};
  cairo_surface_destroy(target);
  expect_probes(f, {{10, 10, kBlue}, {50, 10, kClear}});
}

// Drawn in bands side by side, a picture holds exactly the pixels drawn in one piece: the old
// pixels kept, the fresh parts drawn, black where neither reaches; antialiased edges that cross
// from band to band included.
TEST(RenderInBands, SamePixelsAsInOnePiece) {
  Scene old_scene;
  old_scene.fill(Rect{0, 0, 40, 40}, testing::red());
  const Image old = render::render_to_image(old_scene, 40, 40);
  Scene scene;
  scene.fill(Rect{0, 0, 97, 61}, Color::rgba(0.9f, 0.9f, 0.8f));
  BezPath road;
  road.move_to({3.3, 2.7}).line_to({90.1, 58.6}).quad_to({40, 70}, {10.5, 30.2});
  scene.stroke(road, Color::rgba(0.2f, 0.4f, 0.9f), 5.3);
  scene.fill(Circle{{50.5, 30.25}, 17.3}, Color::rgba(0.1f, 0.7f, 0.3f, 0.6f));
  const std::vector<Rect> fresh = {{0, 0, 97, 20}, {60, 20, 97, 61}, {5.5, 30.5, 20.25, 50}};
  const Image whole =
      render::render_to_image_reusing(old, 13, 17, fresh, scene, 97, 61, 1.5, nullptr, ImageBuilder::Content::Opaque);
  for (std::size_t threads : {0u, 3u}) {
    base::WorkPool pool(threads);
    const Image bands = render::render_opaque_in_bands(pool, old, 13, 17, fresh, scene, 97, 61, 1.5);
    ASSERT_FALSE(bands.empty());
    EXPECT_TRUE(bands.opaque());
    EXPECT_EQ(bands.to_rgba8(), whole.to_rgba8()) << threads;
  }
}

}  // namespace
}  // namespace zarn_ui

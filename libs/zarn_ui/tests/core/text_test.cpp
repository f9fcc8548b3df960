#include <gtest/gtest.h>

#include <future>

#include <cmath>

#include "probe.hpp"
#include "zarn_ui/text_render.hpp"

namespace zarn_ui {
namespace {

using text_render::TextRenderer;

struct Ink {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;  // covered pixels, inclusive
};

// Pixels of at least half coverage.
Ink ink_of(const testing::Frame& f) {
  Ink ink;
  for (std::uint32_t y = 0; y < f.height; ++y) {
    for (std::uint32_t x = 0; x < f.width; ++x) {
      if (f.at(x, y)[3] < 128) continue;
      ink.x0 = std::min<int>(ink.x0, x);
      ink.x1 = std::max<int>(ink.x1, x);
      ink.y0 = std::min<int>(ink.y0, y);
      ink.y1 = std::max<int>(ink.y1, y);
    }
  }
  return ink;
}

// U+2588 FULL BLOCK: its ink fills the advance and the font's ascent-to-descent height.
constexpr const char* kBlocks = "\u2588\u2588\u2588\u2588";

TEST(Text, MeasureEqualsTheDrawnWidth) {
  const TextRenderer text = TextRenderer::create();
  for (float size : {13.0f, 24.0f, 40.0f}) {
    SCOPED_TRACE(size);
    const double w = text.measure(kBlocks, size);
    Scene s;
    text.draw_text(s, Affine::translate(10, 10), kBlocks, size, Color::black());
    const Ink ink = ink_of(testing::render(s, 256, 80));
    EXPECT_NEAR(ink.x1 + 1 - ink.x0, w, 1.0);
    EXPECT_NEAR(ink.x0, 10, 1.0);
  }
}

TEST(Text, MetricsAreFractionalAndScaleLinearly) {
  const TextRenderer text = TextRenderer::create();
  const double w13 = text.measure("Marienplatz 8", 13.0f);
  const double w26 = text.measure("Marienplatz 8", 26.0f);
  EXPECT_NEAR(w26, 2.0 * w13, 0.01);
  EXPECT_NE(w13, std::round(w13));  // not rounded to whole pixels
  EXPECT_EQ(text.measure("", 13.0f), 0.0);
  EXPECT_EQ(text.measure("abc", 0.0f), 0.0);
  EXPECT_EQ(text.measure("abc", std::nanf("")), 0.0);
}

// What cannot be drawn has no width either, and a size past the font engine's integers never
// reaches it.
TEST(Text, SizesPastTheLimitAreNeitherMeasuredNorDrawn) {
  for (const TextRenderer& text : {TextRenderer::create(), TextRenderer::fixed(7.0)}) {
    EXPECT_GT(text.measure("abc", TextRenderer::kMaxSize), 0.0);
    for (float size : {TextRenderer::kMaxSize * 2.0f, 1e7f, INFINITY}) {
      SCOPED_TRACE(size);
      EXPECT_EQ(text.measure("abc", size), 0.0);
      EXPECT_EQ(text.measure_weighted("abc", size, FontWeight::Bold), 0.0);
      Scene s;
      text.draw_text(s, Affine::identity(), "abc", size, Color::black());
      EXPECT_TRUE(s.empty());
    }
  }
}

TEST(Text, LineBoxIsOneAndAQuarterSizeStartingAtTheOrigin) {
  const TextRenderer text = TextRenderer::create();
  const float size = 40.0f;
  EXPECT_DOUBLE_EQ(TextRenderer::line_height(size), 50.0);
  Scene s;
  text.draw_text(s, Affine::translate(4, 20), "\u2588", size, Color::black());
  const Ink ink = ink_of(testing::render(s, 64, 100));
  // The block spans the font's ascent plus descent, centred in the 50 px box from y = 20.
  EXPECT_GE(ink.y0, 20);
  EXPECT_LE(ink.y1, 70);
  EXPECT_NEAR(0.5 * (ink.y0 + ink.y1 + 1), 20 + 25, 1.0);
}

TEST(Text, WeightsDifferInWidth) {
  const TextRenderer text = TextRenderer::create();
  const double normal = text.measure("Navigation", 16.0f);
  EXPECT_EQ(text.measure_weighted("Navigation", 16.0f, FontWeight::Normal), normal);
  EXPECT_GE(text.measure_weighted("Navigation", 16.0f, FontWeight::Medium), normal);
  EXPECT_GT(text.measure_weighted("Navigation", 16.0f, FontWeight::Bold), normal);
}

TEST(Text, WidthLimitEndsTheLine) {
  const TextRenderer text = TextRenderer::create();
  const std::string longer = "A rather long street name that does not fit";
  Scene s;
  text.draw_text(s, Affine::translate(0, 0), longer, 16.0f, Color::black(), 100.0);
  const Ink ink = ink_of(testing::render(s, 400, 40));
  EXPECT_LE(ink.x1, 101);
  EXPECT_LE(ink.y1, 20);  // still one line
}

TEST(Text, RunsAreRecordedForReplay) {
  const TextRenderer text = TextRenderer::create();
  Scene s;
  text.draw_text_weighted(s, Affine::translate(3, 4), "End", 11.0f, Color::white(), FontWeight::Medium);
  text.draw_text(s, Affine::identity(), "", 11.0f, Color::white());  // nothing to draw
  ASSERT_EQ(s.size(), 1u);
  const auto& run = std::get<scene::TextRun>(s.items()[0]);
  EXPECT_EQ(run.text, "End");
  EXPECT_EQ(run.weight, FontWeight::Medium);
  EXPECT_EQ(run.transform, Affine::translate(3, 4));
}

TEST(Text, FixedAdvanceFake) {
  const TextRenderer fake = TextRenderer::fixed(7.0);
  EXPECT_TRUE(fake.is_fixed());
  EXPECT_EQ(fake.measure("abc", 13.0f), 21.0);
  EXPECT_EQ(fake.measure("caf\u00e9 \u2192", 40.0f), 42.0);  // characters, not bytes
  Scene s;
  fake.draw_text(s, Affine::identity(), "abc", 13.0f, Color::black());
  EXPECT_EQ(s.size(), 1u);
}

TEST(Text, InvalidUtf8StillDraws) {
  const TextRenderer text = TextRenderer::create();
  EXPECT_GT(text.measure("ab\xff\xfe"
                         "cd",
                         13.0f),
            0.0);
}

}  // namespace
}  // namespace zarn_ui

namespace zarn_ui::text_render {
namespace {

// A renderer made ready on another thread measures as a fresh one, on the thread it is handed to.
TEST(TextRenderer, MadeWarmOnAnotherThreadMeasuresAsAFreshOne) {
  auto warm = std::async(std::launch::async, &TextRenderer::create_warm).get();
  const TextRenderer fresh = TextRenderer::create();
  for (FontWeight weight : {FontWeight::Normal, FontWeight::Medium, FontWeight::Semibold, FontWeight::Bold}) {
    EXPECT_EQ(warm.measure_weighted("Loading map\u2026", 13.0f, weight),
              fresh.measure_weighted("Loading map\u2026", 13.0f, weight));
  }
}

}  // namespace
}  // namespace zarn_ui::text_render

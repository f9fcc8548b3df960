#include <gtest/gtest.h>

#include "probe.hpp"
#include "zarn_ui/offscreen.hpp"

namespace zarn_ui {
namespace {

using offscreen::OffscreenRenderer;

TEST(Offscreen, PngRoundTripKeepsSizeAndPixels) {
  auto r = OffscreenRenderer::create(40, 30);
  ASSERT_TRUE(r.is_ok());
  Scene s;
  s.fill(Rect{0, 0, 20, 30}, Color::rgba(1, 0, 0));
  s.fill(Rect{20, 0, 40, 30}, Color::rgba(0, 0, 1, 0.5f));
  const std::vector<std::uint8_t> px = r->render_resilient(s);
  ASSERT_EQ(px.size(), 40u * 30u * 4u);
  auto png = r->encode_png(px);
  ASSERT_TRUE(png.is_ok());
  ASSERT_GT(png->size(), 8u);
  EXPECT_EQ((*png)[1], 'P');
  auto decoded = offscreen::decode_png(*png);
  ASSERT_TRUE(decoded.is_ok()) << decoded.error();
  EXPECT_EQ(decoded->width, 40u);
  EXPECT_EQ(decoded->height, 30u);
  const testing::Frame f{40, 30, decoded->rgba};
  EXPECT_EQ(f.at(10, 15), testing::kRed);
  const testing::Rgba half = f.at(30, 15);
  EXPECT_EQ(half[2], 255);
  EXPECT_NEAR(half[3], 128, 1);
}

TEST(Offscreen, ExtraLayersGoOnTopAndEachRenderStartsClear) {
  auto r = OffscreenRenderer::create(16, 16);
  ASSERT_TRUE(r.is_ok());
  Scene base, top;
  base.fill(Rect{0, 0, 16, 16}, testing::red());
  top.fill(Rect{0, 0, 8, 16}, testing::green());
  const testing::Frame both{16, 16, r->render_resilient(base, {top})};
  EXPECT_EQ(both.at(4, 8), testing::kGreen);
  EXPECT_EQ(both.at(12, 8), testing::kRed);
  const testing::Frame again{16, 16, r->render_resilient(Scene{})};
  EXPECT_EQ(again.at(4, 8), testing::kClear);
}

TEST(Offscreen, RefusesBadSizesAndBuffers) {
  EXPECT_FALSE(OffscreenRenderer::create(0, 10).is_ok());
  EXPECT_FALSE(OffscreenRenderer::create(40000, 10).is_ok());
  auto r = OffscreenRenderer::create(4, 4);
  ASSERT_TRUE(r.is_ok());
  EXPECT_FALSE(r->encode_png(std::vector<std::uint8_t>(3)).is_ok());
  EXPECT_FALSE(offscreen::decode_png({1, 2, 3}).is_ok());
}

}  // namespace
}  // namespace zarn_ui

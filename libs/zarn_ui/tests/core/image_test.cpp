#include "zarn_ui/image.hpp"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>

namespace zarn_ui {
namespace {

using Px = std::array<std::uint8_t, 4>;

std::uint32_t argb_at(const Image& img, int x, int y) {
  cairo_surface_t* s = img.cairo_surface();
  std::uint32_t v = 0;
  std::memcpy(&v, cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + 4 * x, 4);
  return v;
}

// The surface holds premultiplied ARGB32 and reads back as straight RGBA.
TEST(Image, PremultipliesIntoTheSurfaceAndReadsBack) {
  const Image img = Image::from_rgba8(4, 1,
                                      {
                                          10, 20, 30, 255,    // opaque
                                          200, 100, 50, 128,  // translucent
                                          255, 255, 255, 0,   // transparent
                                          255, 0, 0, 1,       // nearly transparent
                                      });
  ASSERT_FALSE(img.empty());
  EXPECT_EQ(argb_at(img, 0, 0), 0xFF0A141Eu);
  EXPECT_EQ(argb_at(img, 1, 0), 0x80643219u);  // 200*128/255 = 100.4, 100*128/255 = 50.2, 50*128/255 = 25.1
  EXPECT_EQ(argb_at(img, 2, 0), 0u);
  EXPECT_EQ(argb_at(img, 3, 0), 0x01010000u);

  EXPECT_EQ(img.pixel_rgba8(0, 0), (Px{10, 20, 30, 255}));
  EXPECT_EQ(img.pixel_rgba8(1, 0), (Px{199, 100, 50, 128}));  // within premultiplication's rounding
  EXPECT_EQ(img.pixel_rgba8(2, 0), (Px{0, 0, 0, 0}));
  EXPECT_EQ(img.pixel_rgba8(3, 0), (Px{255, 0, 0, 1}));
  EXPECT_EQ(img.pixel_rgba8(4, 0), (Px{0, 0, 0, 0}));  // out of range
  EXPECT_EQ(img.to_rgba8(), (std::vector<std::uint8_t>{10, 20, 30, 255, 199, 100, 50, 128, 0, 0, 0, 0, 255, 0, 0, 1}));
  EXPECT_EQ(img.pixel_bytes(), static_cast<std::size_t>(cairo_image_surface_get_stride(img.cairo_surface())));
}

TEST(Image, RefusesWrongSizesAndKeepsOneCopy) {
  EXPECT_TRUE(Image::from_rgba8(2, 2, std::vector<std::uint8_t>(15)).empty());
  EXPECT_TRUE(Image::from_rgba8(0, 1, {}).empty());
  EXPECT_TRUE(Image::from_rgba8(32768, 1, std::vector<std::uint8_t>(32768u * 4)).empty());
  const Image empty;
  EXPECT_EQ(empty.pixel_bytes(), 0u);
  EXPECT_TRUE(empty.to_rgba8().empty());
  EXPECT_EQ(empty.pixel_rgba8(0, 0), (Px{0, 0, 0, 0}));

  // A tile holds its surface and nothing more.
  const Image tile = Image::from_rgba8(256, 256, std::vector<std::uint8_t>(256 * 256 * 4, 200));
  EXPECT_EQ(tile.pixel_bytes(), 256u * 256u * 4u);
}

// An image is opaque only when every row was set with alpha 255 throughout; it then draws from
// an RGB24 view of its pixels, and reads back as before.
TEST(Image, OpaqueOnlyWhenEveryPixelIsSetOpaque) {
  const std::vector<std::uint8_t> solid = {10, 20, 30, 255, 40, 50, 60, 255};
  const Image opaque = Image::from_rgba8(2, 1, solid);
  EXPECT_TRUE(opaque.opaque());
  EXPECT_EQ(cairo_image_surface_get_format(opaque.cairo_surface()), CAIRO_FORMAT_RGB24);
  EXPECT_EQ(opaque.to_rgba8(), solid);
  EXPECT_EQ(opaque.pixel_bytes(), 8u);

  EXPECT_FALSE(Image::from_rgba8(2, 1, {10, 20, 30, 255, 40, 50, 60, 254}).opaque());
  ImageBuilder partly(1, 2);
  partly.set_row_rgba8(0, std::vector<std::uint8_t>{1, 2, 3, 255});
  partly.set_row_rgba8(0, std::vector<std::uint8_t>{1, 2, 3, 255});  // one row twice is still one row
  EXPECT_FALSE(partly.finish().opaque());
  EXPECT_FALSE(Image{}.opaque());

  // Drawn into with Cairo: RGB24 from the start, black until drawn, every pixel opaque.
  ImageBuilder drawn(2, 2, ImageBuilder::Content::Opaque);
  ASSERT_TRUE(drawn.ok());
  EXPECT_EQ(cairo_image_surface_get_format(drawn.surface()), CAIRO_FORMAT_RGB24);
  const Image black = drawn.finish();
  EXPECT_TRUE(black.opaque());
  EXPECT_EQ(black.pixel_rgba8(1, 1), (Px{0, 0, 0, 255}));
}

TEST(ImageBuilder, RowsGoStraightIntoTheSurface) {
  ImageBuilder b(2, 3);
  ASSERT_TRUE(b.ok());
  const std::vector<std::uint8_t> row = {1, 2, 3, 255, 4, 5, 6, 255};
  b.set_row_rgba8(2, row);
  b.set_row_rgba8(0, row);
  b.set_row_rgba8(3, row);                                // past the last row: ignored
  b.set_row_rgba8(1, std::vector<std::uint8_t>(4, 255));  // wrong length: ignored
  const Image img = b.finish();
  ASSERT_FALSE(img.empty());
  EXPECT_TRUE(b.finish().empty());  // spent
  EXPECT_EQ(img.to_rgba8(), (std::vector<std::uint8_t>{1, 2, 3, 255, 4, 5, 6, 255, 0, 0, 0, 0,
                                                       0, 0, 0, 0,   1, 2, 3, 255, 4, 5, 6, 255}));
  EXPECT_FALSE(ImageBuilder(0, 4).ok());
  EXPECT_TRUE(ImageBuilder(0, 4).finish().empty());
}

}  // namespace
}  // namespace zarn_ui

#include "tiles/png_decode.hpp"

#include <gtest/gtest.h>

#include "png_fixture.hpp"

namespace maps {
namespace {

using testing::encode_png;
using testing::png_spec;
using testing::PngSpec;
using Bytes = std::vector<std::uint8_t>;

struct DecodeCase {
  const char* name;
  PngSpec spec;
  Bytes expected_rgba;
};

std::vector<DecodeCase> decode_cases() {
  std::vector<DecodeCase> cases;
  cases.push_back({"rgba8",
                   png_spec(2, 1, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, {1, 2, 3, 4, 250, 251, 252, 0}),
                   {1, 2, 3, 4, 250, 251, 252, 0}});
  cases.push_back({"rgb8 gains opaque alpha",
                   png_spec(2, 1, SPNG_COLOR_TYPE_TRUECOLOR, 8, {10, 20, 30, 40, 50, 60}),
                   {10, 20, 30, 255, 40, 50, 60, 255}});
  cases.push_back(
      {"grey8", png_spec(2, 1, SPNG_COLOR_TYPE_GRAYSCALE, 8, {0, 200}), {0, 0, 0, 255, 200, 200, 200, 255}});
  // Two 1-bit pixels packed in one byte: 1, 0 -> white, black.
  cases.push_back({"grey1 expanded",
                   png_spec(2, 1, SPNG_COLOR_TYPE_GRAYSCALE, 1, {0b10000000}),
                   {255, 255, 255, 255, 0, 0, 0, 255}});
  cases.push_back({"grey+alpha", png_spec(1, 1, SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 8, {90, 128}), {90, 90, 90, 128}});
  cases.push_back({"rgb16 keeps the high byte",
                   png_spec(1, 1, SPNG_COLOR_TYPE_TRUECOLOR, 16, {0xAB, 0xCD, 0x12, 0x34, 0xFF, 0x00}),
                   {0xAB, 0x12, 0xFF, 255}});
  cases.push_back(
      {"rgba16",
       png_spec(1, 1, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 16, {0x80, 0x01, 0x40, 0x02, 0x20, 0x03, 0x10, 0x04}),
       {0x80, 0x40, 0x20, 0x10}});
  PngSpec palette = png_spec(3, 1, SPNG_COLOR_TYPE_INDEXED, 8, {0, 1, 2});
  palette.palette = {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}};
  palette.palette_alpha = {255, 100};  // the third entry has no alpha: opaque
  cases.push_back({"palette with transparency", palette, {255, 0, 0, 255, 0, 255, 0, 100, 0, 0, 255, 255}});
  PngSpec palette4 = png_spec(2, 1, SPNG_COLOR_TYPE_INDEXED, 4, {0x10});
  palette4.palette = {{9, 8, 7, 0}, {1, 2, 3, 0}};
  cases.push_back({"palette 4-bit", palette4, {1, 2, 3, 255, 9, 8, 7, 255}});
  PngSpec interlaced = png_spec(3, 3, SPNG_COLOR_TYPE_GRAYSCALE, 8, {0, 1, 2, 3, 4, 5, 6, 7, 8});
  interlaced.interlaced = true;
  Bytes interlaced_rgba;
  for (std::uint8_t g = 0; g < 9; ++g) interlaced_rgba.insert(interlaced_rgba.end(), {g, g, g, 255});
  cases.push_back({"interlaced", interlaced, interlaced_rgba});
  return cases;
}

TEST(DecodePng, EveryColourTypeBecomesRgba8) {
  for (const DecodeCase& c : decode_cases()) {
    SCOPED_TRACE(c.name);
    const Bytes png = encode_png(c.spec);
    ASSERT_FALSE(png.empty());
    auto decoded = decode_png_rgba(png);
    ASSERT_TRUE(decoded.is_ok()) << decoded.error();
    EXPECT_EQ(decoded->width, c.spec.width);
    EXPECT_EQ(decoded->height, c.spec.height);
    EXPECT_EQ(decoded->rgba, c.expected_rgba);

    // Straight into a drawable image: the same pixels, premultiplied once.
    auto image = decode_png_image(png);
    ASSERT_TRUE(image.is_ok()) << image.error();
    EXPECT_EQ(image->width(), c.spec.width);
    EXPECT_EQ(image->height(), c.spec.height);
    EXPECT_EQ(image->to_rgba8(), zarn_ui::Image::from_rgba8(c.spec.width, c.spec.height, c.expected_rgba).to_rgba8());
  }
}

TEST(DecodePng, BrokenInputFailsCleanly) {
  const Bytes good = testing::solid_png(16, 16, 10, 20, 30);
  ASSERT_TRUE(decode_png_rgba(good).is_ok());

  Bytes flipped = good;
  flipped[flipped.size() / 2] ^= 0xFF;  // inside the image data: checksum mismatch
  Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() * 2 / 3));
  Bytes header_only(good.begin(), good.begin() + 33);  // signature + IHDR, no image data
  const Bytes html = {'<', 'h', 't', 'm', 'l', '>', '4', '0', '4'};

  for (const Bytes* bad : std::vector<const Bytes*>{&flipped, &truncated, &header_only, &html}) {
    auto decoded = decode_png_rgba(*bad);
    EXPECT_TRUE(decoded.is_err());
    if (decoded.is_err()) {
      EXPECT_FALSE(decoded.error().empty());
    }
    EXPECT_TRUE(decode_png_image(*bad).is_err());
  }
  EXPECT_TRUE(decode_png_rgba({}).is_err());
  EXPECT_TRUE(decode_png_image({}).is_err());
}

TEST(DecodePng, RefusesImagesPastTheSizeLimit) {
  for (auto [w, h] : {std::pair<std::uint32_t, std::uint32_t>{4097, 1}, {1, 4097}}) {
    PngSpec spec = png_spec(w, h, SPNG_COLOR_TYPE_GRAYSCALE, 8, Bytes(static_cast<std::size_t>(w) * h, 7));
    const Bytes png = encode_png(spec);
    ASSERT_FALSE(png.empty());
    EXPECT_TRUE(decode_png_rgba(png).is_err()) << w << "x" << h;
    EXPECT_TRUE(decode_png_image(png).is_err()) << w << "x" << h;
  }
  PngSpec edge = png_spec(4096, 1, SPNG_COLOR_TYPE_GRAYSCALE, 8, Bytes(4096, 7));
  EXPECT_TRUE(decode_png_rgba(encode_png(edge)).is_ok());
}

}  // namespace
}  // namespace maps

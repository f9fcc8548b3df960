#pragma once
// Small PNGs made in the tests, so every colour type and depth is covered without binary files.

#include <spng.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace maps::testing {

struct PngSpec {
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  std::uint8_t color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  std::uint8_t bit_depth = 8;
  // Samples in PNG order; 16-bit samples are given big-endian, as in the file.
  std::vector<std::uint8_t> pixels;
  std::vector<spng_plte_entry> palette;
  std::vector<std::uint8_t> palette_alpha;  // tRNS for palette images
  bool interlaced = false;
};

inline PngSpec png_spec(std::uint32_t w, std::uint32_t h, std::uint8_t color_type, std::uint8_t bit_depth,
                        std::vector<std::uint8_t> pixels) {
  PngSpec spec;
  spec.width = w;
  spec.height = h;
  spec.color_type = color_type;
  spec.bit_depth = bit_depth;
  spec.pixels = std::move(pixels);
  return spec;
}

inline std::vector<std::uint8_t> encode_png(const PngSpec& spec) {
  spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{};
  ihdr.width = spec.width;
  ihdr.height = spec.height;
  ihdr.color_type = spec.color_type;
  ihdr.bit_depth = spec.bit_depth;
  ihdr.interlace_method = spec.interlaced ? 1 : 0;
  spng_set_ihdr(ctx, &ihdr);
  if (!spec.palette.empty()) {
    spng_plte plte{};
    plte.n_entries = static_cast<std::uint32_t>(spec.palette.size());
    for (std::size_t i = 0; i < spec.palette.size(); ++i) plte.entries[i] = spec.palette[i];
    spng_set_plte(ctx, &plte);
  }
  if (!spec.palette_alpha.empty()) {
    spng_trns trns{};
    trns.n_type3_entries = static_cast<std::uint32_t>(spec.palette_alpha.size());
    for (std::size_t i = 0; i < spec.palette_alpha.size(); ++i) trns.type3_alpha[i] = spec.palette_alpha[i];
    spng_set_trns(ctx, &trns);
  }
  std::vector<std::uint8_t> pixels = spec.pixels;
  if (spec.bit_depth == 16) {
    // The encoder takes host-endian 16-bit samples.
    for (std::size_t i = 0; i + 1 < pixels.size(); i += 2) {
      const std::uint16_t v = static_cast<std::uint16_t>((pixels[i] << 8) | pixels[i + 1]);
      std::memcpy(&pixels[i], &v, 2);
    }
  }
  std::vector<std::uint8_t> out;
  if (spng_encode_image(ctx, pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) == 0) {
    std::size_t len = 0;
    int error = 0;
    void* buf = spng_get_png_buffer(ctx, &len, &error);
    if (buf) {
      const auto* p = static_cast<const std::uint8_t*>(buf);
      out.assign(p, p + len);
      std::free(buf);
    }
  }
  spng_ctx_free(ctx);
  return out;
}

// An opaque RGBA tile of one colour.
inline std::vector<std::uint8_t> solid_png(std::uint32_t w, std::uint32_t h, std::uint8_t r, std::uint8_t g,
                                           std::uint8_t b) {
  PngSpec spec;
  spec.width = w;
  spec.height = h;
  spec.pixels.resize(static_cast<std::size_t>(w) * h * 4);
  for (std::size_t i = 0; i < spec.pixels.size(); i += 4) {
    spec.pixels[i] = r;
    spec.pixels[i + 1] = g;
    spec.pixels[i + 2] = b;
    spec.pixels[i + 3] = 255;
  }
  return encode_png(spec);
}

}  // namespace maps::testing

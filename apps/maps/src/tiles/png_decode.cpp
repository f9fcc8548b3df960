#include "tiles/png_decode.hpp"

#include <spng.h>

#include <memory>
#include <optional>
#include <string>

namespace maps {

namespace {

struct SpngCtxDeleter {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using SpngCtx = std::unique_ptr<spng_ctx, SpngCtxDeleter>;

base::Error spng_error(int code) { return base::err(spng_strerror(code)); }

// RGBA8 output expands palette, grey and grey+alpha and keeps the high byte of 16-bit samples;
// a tRNS chunk becomes the alpha channel.
constexpr int kFormat = SPNG_FMT_RGBA8;
constexpr int kFlags = SPNG_DECODE_TRNS;

// Decodes `bytes` and hands every RGBA8 row to `sink` as (row index, width * 4 bytes), after
// `start`(width, height) has accepted the size. Rows come in order, each exactly once.
template <class Start, class Sink>
base::Result<void> decode_rows(std::span<const std::uint8_t> bytes, Start start, Sink sink) {
  SpngCtx ctx(spng_ctx_new(0));
  if (!ctx) return base::err("png decoder unavailable");
  // Tiles are small; cap both the image and the ancillary chunks so hostile input cannot
  // make us allocate much.
  if (int rc = spng_set_image_limits(ctx.get(), kMaxTileImageSide, kMaxTileImageSide)) return spng_error(rc);
  if (int rc = spng_set_chunk_limits(ctx.get(), 1u << 20, 4u << 20)) return spng_error(rc);
  if (int rc = spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size())) return spng_error(rc);

  spng_ihdr ihdr{};
  if (int rc = spng_get_ihdr(ctx.get(), &ihdr)) return spng_error(rc);

  std::size_t size = 0;
  if (spng_decoded_image_size(ctx.get(), kFormat, &size) != 0) return base::err("png output buffer size unavailable");
  const std::size_t row_bytes = static_cast<std::size_t>(ihdr.width) * 4;
  if (size != row_bytes * ihdr.height) return base::err("png output buffer size unavailable");
  if (!start(ihdr.width, ihdr.height)) return base::err("out of memory for the image");

  if (ihdr.interlace_method != 0) {
    // Interlaced passes touch every row several times: decode the whole image first.
    std::vector<std::uint8_t> image(size);
    if (int rc = spng_decode_image(ctx.get(), image.data(), image.size(), kFormat, kFlags)) return spng_error(rc);
    for (std::uint32_t y = 0; y < ihdr.height; ++y) {
      sink(y, std::span<const std::uint8_t>(image.data() + y * row_bytes, row_bytes));
    }
    return {};
  }

  if (int rc = spng_decode_image(ctx.get(), nullptr, 0, kFormat, kFlags | SPNG_DECODE_PROGRESSIVE)) {
    return spng_error(rc);
  }
  std::vector<std::uint8_t> row(row_bytes);
  for (std::uint32_t y = 0; y < ihdr.height; ++y) {
    spng_row_info info{};
    if (int rc = spng_get_row_info(ctx.get(), &info)) return spng_error(rc);
    const int rc = spng_decode_row(ctx.get(), row.data(), row.size());
    // The last row ends the image; anything else before it is a broken file.
    if (rc != 0 && !(rc == SPNG_EOI && y + 1 == ihdr.height)) return spng_error(rc);
    if (info.row_num != y) return base::err("png rows out of order");
    sink(y, std::span<const std::uint8_t>(row));
  }
  return {};
}

}  // namespace

base::Result<DecodedTile> decode_png_rgba(std::span<const std::uint8_t> bytes) {
  DecodedTile tile;
  auto done = decode_rows(
      bytes,
      [&](std::uint32_t w, std::uint32_t h) {
        tile.width = w;
        tile.height = h;
        tile.rgba.reserve(static_cast<std::size_t>(w) * h * 4);
        return true;
      },
      [&](std::uint32_t, std::span<const std::uint8_t> row) {
        tile.rgba.insert(tile.rgba.end(), row.begin(), row.end());
      });
  if (!done) return base::err(done.error());
  return tile;
}

base::Result<zarn_ui::Image> decode_png_image(std::span<const std::uint8_t> bytes) {
  std::optional<zarn_ui::ImageBuilder> builder;
  auto done = decode_rows(
      bytes,
      [&](std::uint32_t w, std::uint32_t h) {
        builder.emplace(w, h);
        return builder->ok();
      },
      [&](std::uint32_t y, std::span<const std::uint8_t> row) { builder->set_row_rgba8(y, row); });
  if (!done) return base::err(done.error());
  zarn_ui::Image image = builder->finish();
  if (image.empty()) return base::err("out of memory for the image");
  return image;
}

}  // namespace maps

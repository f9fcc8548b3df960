#include "tiles/png_decode.hpp"

#include <spng.h>

#include <memory>
#include <string>

namespace maps {

namespace {

struct SpngCtxDeleter {
  void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using SpngCtx = std::unique_ptr<spng_ctx, SpngCtxDeleter>;

base::Error spng_error(int code) { return base::err(spng_strerror(code)); }

}  // namespace

base::Result<DecodedTile> decode_png_rgba(std::span<const std::uint8_t> bytes) {
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
  if (spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size) != 0) {
    return base::err("png output buffer size unavailable");
  }
  if (size != static_cast<std::size_t>(ihdr.width) * ihdr.height * 4) {
    return base::err("png output buffer size unavailable");
  }

  DecodedTile tile;
  tile.width = ihdr.width;
  tile.height = ihdr.height;
  // RGBA8 output expands palette, grey and grey+alpha and keeps the high byte of 16-bit
  // samples; a tRNS chunk becomes the alpha channel.
  tile.rgba.resize(size);
  if (int rc = spng_decode_image(ctx.get(), tile.rgba.data(), tile.rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS)) {
    return spng_error(rc);
  }
  return tile;
}

}  // namespace maps

#pragma once
// A 256 x 256 tile that compresses like a real basemap tile (flat areas, a few roads, a little
// noise), and a scratch tile cache for the tile benchmarks.

#include <spng.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace maps::bench {

inline std::vector<std::uint8_t> make_tile_png() {
  std::vector<std::uint8_t> px(256 * 256 * 3);
  std::mt19937 rng(7);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      std::uint8_t* p = &px[static_cast<std::size_t>(y * 256 + x) * 3];
      const bool road = (x % 64 < 3) || (y % 80 < 2) || std::abs(x - y) < 2;
      const bool park = x > 150 && y > 40 && x < 220 && y < 120;
      const std::uint8_t noise = static_cast<std::uint8_t>(rng() % 3);
      p[0] = road ? 255 : park ? static_cast<std::uint8_t>(200 + noise) : static_cast<std::uint8_t>(242 + noise);
      p[1] = road ? 255 : park ? 230 : 239;
      p[2] = road ? 255 : park ? 200 : 233;
    }
  }
  spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
  spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{};
  ihdr.width = 256;
  ihdr.height = 256;
  ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  ihdr.bit_depth = 8;
  spng_set_ihdr(ctx, &ihdr);
  spng_encode_image(ctx, px.data(), px.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
  std::size_t len = 0;
  int error = 0;
  auto* buf = static_cast<std::uint8_t*>(spng_get_png_buffer(ctx, &len, &error));
  std::vector<std::uint8_t> out(buf, buf + len);
  std::free(buf);
  spng_ctx_free(ctx);
  return out;
}

inline const std::vector<std::uint8_t>& tile_png() {
  static const std::vector<std::uint8_t> png = make_tile_png();
  return png;
}

// A fresh directory under the system's temporary directory, removed with everything in it.
class ScratchDir {
 public:
  ScratchDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "maps-bench-tiles-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
  }
  ~ScratchDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace maps::bench

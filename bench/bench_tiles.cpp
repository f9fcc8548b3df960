// Tile decoding into a drawable image against libspng's own decode of the same bytes, the
// worker's throughput from a local server, and the visible-tile listing of a large view.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <spng.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tiles/png_decode.hpp"
#include "tiles/tile_geometry.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/image.hpp"

namespace {

// A 256 x 256 tile that compresses like a real basemap tile: flat areas, a few roads, and
// a little noise.
std::vector<std::uint8_t> make_tile_png() {
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

const std::vector<std::uint8_t>& tile_png() {
  static const std::vector<std::uint8_t> png = make_tile_png();
  return png;
}

void BM_SpngDecodeOnly(benchmark::State& state) {
  const auto& png = tile_png();
  std::vector<std::uint8_t> out(256 * 256 * 4);
  for (auto _ : state) {
    spng_ctx* ctx = spng_ctx_new(0);
    spng_set_png_buffer(ctx, png.data(), png.size());
    spng_decode_image(ctx, out.data(), out.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
    spng_ctx_free(ctx);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_SpngDecodeOnly);

void BM_DecodeToDrawableImage(benchmark::State& state) {
  const auto& png = tile_png();
  for (auto _ : state) {
    auto tile = maps::decode_png_rgba(png);
    auto image = zarn_ui::Image::from_rgba8(tile->width, tile->height, std::move(tile.value().rgba));
    benchmark::DoNotOptimize(image.cairo_surface());
  }
}
BENCHMARK(BM_DecodeToDrawableImage);

void BM_VisibleTiles2560x1600(benchmark::State& state) {
  for (auto _ : state) {
    auto tiles = maps::visible_tiles(0, 0, 2560, 1600, 48.1371, 11.5754, 14.4, 1280, 800);
    benchmark::DoNotOptimize(tiles.data());
  }
}
BENCHMARK(BM_VisibleTiles2560x1600);

// Tiles per second through the worker: every request is a network fetch, a decode, an image
// and an atomic cache write.
void BM_WorkerTilesFromLocalServer(benchmark::State& state) {
  httplib::Server server;
  const std::string body(tile_png().begin(), tile_png().end());
  server.Get(R"(/.*)", [&](const httplib::Request&, httplib::Response& res) { res.set_content(body, "image/png"); });
  server.set_tcp_nodelay(true);
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  std::string tmpl = (std::filesystem::temp_directory_path() / "maps-bench-tiles-XXXXXX").string();
  const std::filesystem::path root = ::mkdtemp(tmpl.data());
  maps::TileStore store = maps::new_tile_store(root, "http://127.0.0.1:" + std::to_string(port));
  std::uint32_t next = 0;
  const std::uint32_t batch = 64;
  for (auto _ : state) {
    for (std::uint32_t i = 0; i < batch; ++i) maps::request_tile(store, {next++, 0, 18});
    while (maps::tiles_in_flight(store)) {
      maps::pump_tile_results(store);
      std::this_thread::yield();
    }
    store.decoded.clear();
    store.lru.clear();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * batch);
  store = maps::TileStore{};
  server.stop();
  thread.join();
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}
BENCHMARK(BM_WorkerTilesFromLocalServer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

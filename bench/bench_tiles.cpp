// Tile decoding into a drawable image against libspng's own decode of the same bytes and the
// earlier decode through a whole RGBA buffer, the worker's throughput from a local server, and
// the visible-tile listing of a large view.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <spng.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tile_bench_png.hpp"
#include "tiles/png_decode.hpp"
#include "tiles/tile_geometry.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/image.hpp"

namespace {

using maps::bench::tile_png;

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

// What the worker does: rows decoded straight into the premultiplied surface.
void BM_DecodeToDrawableImage(benchmark::State& state) {
  const auto& png = tile_png();
  for (auto _ : state) {
    auto image = maps::decode_png_image(png);
    benchmark::DoNotOptimize(image->cairo_surface());
  }
}
BENCHMARK(BM_DecodeToDrawableImage);

// The same through a whole RGBA buffer first, as tiles were decoded before.
void BM_DecodeToRgbaThenImage(benchmark::State& state) {
  const auto& png = tile_png();
  for (auto _ : state) {
    auto tile = maps::decode_png_rgba(png);
    auto image = zarn_ui::Image::from_rgba8(tile->width, tile->height, std::move(tile.value().rgba));
    benchmark::DoNotOptimize(image.cairo_surface());
  }
}
BENCHMARK(BM_DecodeToRgbaThenImage);

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

  maps::bench::ScratchDir root;
  maps::TileStore store = maps::new_tile_store(root.path(), "http://127.0.0.1:" + std::to_string(port));
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
}
BENCHMARK(BM_WorkerTilesFromLocalServer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

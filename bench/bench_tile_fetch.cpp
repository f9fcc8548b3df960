// A screenful of 35 tiles (7 x 5) fetched through the store's worker from a local server that
// adds 100 ms to every reply: with the worker's transfers running at once, beside the same with
// one transfer at a time, in the same run.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

#include "tile_bench_png.hpp"
#include "tiles/tile_store.hpp"
#include "tiles/tile_worker_settings.hpp"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kColumns = 7;
constexpr std::uint32_t kRows = 5;
constexpr auto kReplyDelay = 100ms;

void BM_Screenful35TilesAt100ms(benchmark::State& state) {
  httplib::Server server;
  const std::string body(maps::bench::tile_png().begin(), maps::bench::tile_png().end());
  server.Get(R"(/.*)", [&](const httplib::Request&, httplib::Response& res) {
    std::this_thread::sleep_for(kReplyDelay);
    res.set_content(body, "image/png");
  });
  server.set_tcp_nodelay(true);
  const int port = server.bind_to_any_port("127.0.0.1");
  std::thread thread([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(1ms);

  maps::bench::ScratchDir root;
  maps::TileWorkerSettings settings;
  settings.max_transfers = static_cast<std::size_t>(state.range(0));
  maps::TileStore store = maps::new_tile_store(root.path(), "http://127.0.0.1:" + std::to_string(port), settings);
  std::uint32_t screen = 0;
  for (auto _ : state) {
    // A screen not seen before: nothing of it is on disk or in memory.
    const std::uint32_t x0 = screen++ * kColumns;
    for (std::uint32_t y = 0; y < kRows; ++y) {
      for (std::uint32_t x = 0; x < kColumns; ++x) maps::request_tile(store, {x0 + x, y, 17});
    }
    while (maps::tiles_in_flight(store)) {
      maps::pump_tile_results(store);
      std::this_thread::sleep_for(1ms);
    }
    state.PauseTiming();
    if (store.decoded.size() != kColumns * kRows) state.SkipWithError("tiles failed to load");
    store.decoded.clear();
    store.lru.clear();
    state.ResumeTiming();
  }
  state.counters["transfers"] = static_cast<double>(settings.max_transfers);
  store = maps::TileStore{};
  server.stop();
  thread.join();
}
BENCHMARK(BM_Screenful35TilesAt100ms)
    ->ArgName("transfers")
    ->Arg(static_cast<std::int64_t>(maps::kMaxTileTransfers))
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

// A screen tile on disk asked for while the tile worker measures a cache of 100,000 files (as
// opening the offline panel does), beside the same with nothing else to do, in the same run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

#include "tile_bench_png.hpp"
#include "tiles/tile_disk.hpp"
#include "tiles/tile_store.hpp"

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kCachedFiles = 100000;

// 100,000 small files in the cache's layout; made once for the whole run.
const maps::bench::ScratchDir& big_cache() {
  static const maps::bench::ScratchDir dir;
  static const bool filled = [] {
    const std::vector<std::uint8_t> bytes(64, 1);
    for (std::uint32_t i = 0; i < kCachedFiles; ++i) {
      maps::write_tile_file(dir.path() / "dark" / maps::tile_file_name({i / 256, i % 256, 16}), bytes);
    }
    return true;
  }();
  (void)filled;
  return dir;
}

void BM_ScreenTileWhileTheCacheIsMeasured(benchmark::State& state) {
  const bool measuring = state.range(0) != 0;
  const auto& root = big_cache();
  // Nothing is fetched: the screen's tile is on disk.
  maps::TileStore store = maps::new_tile_store(root.path(), "http://127.0.0.1:9");
  std::uint32_t column = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const maps::TileKey key{column++, 0, 17};
    maps::write_tile_file(root.path() / "light" / maps::tile_file_name(key), maps::bench::tile_png());
    if (measuring) {
      maps::start_disk_measure(store);
      std::this_thread::sleep_for(20ms);  // the worker is well into the folder
    }
    state.ResumeTiming();
    maps::request_tile(store, key);
    while (!store.decoded.contains(key)) {
      maps::pump_tile_results(store);
      std::this_thread::sleep_for(100us);
    }
    state.PauseTiming();
    while (maps::cache_jobs_running(store)) {
      maps::pump_tile_results(store);
      std::this_thread::sleep_for(1ms);
    }
    (void)maps::take_finished_cache_jobs(store);
    state.ResumeTiming();
  }
  state.counters["cached_files"] = kCachedFiles;
}
BENCHMARK(BM_ScreenTileWhileTheCacheIsMeasured)
    ->ArgName("measuring")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

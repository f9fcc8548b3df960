// Resident memory with the tile cache full: 512 decoded 256 x 256 tiles held by the store, as
// the worker loads them from the disk cache, beside the two-copy representation tiles had
// before (the straight RGBA pixels kept next to the premultiplied surface) in the same run.
// Each figure is measured in a fresh child process, so one does not inherit the other's heap.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "tile_bench_png.hpp"
#include "tiles/png_decode.hpp"
#include "tiles/tile_disk.hpp"
#include "tiles/tile_key.hpp"
#include "tiles/tile_store.hpp"

namespace {

constexpr std::uint8_t kZoom = 18;

struct Figures {
  double rss_before = 0;  // bytes
  double rss_after = 0;
  double pixel_bytes = 0;  // what the held tiles account for
  double tiles = 0;
};

double rss_bytes() {
  std::ifstream statm("/proc/self/statm");
  long long size = 0, resident = 0;
  statm >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

// Runs `measure` in a child process and returns what it found (zeros if the child failed).
template <class F>
Figures in_child(F measure) {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    const Figures f = measure();
    const ssize_t written = ::write(fds[1], &f, sizeof f);
    ::_exit(written == static_cast<ssize_t>(sizeof f) ? 0 : 1);
  }
  ::close(fds[1]);
  Figures f{};
  if (pid > 0) {
    if (::read(fds[0], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) f = {};
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  ::close(fds[0]);
  return f;
}

// A cache root holding one PNG file per tile of a full cache.
const std::filesystem::path& cache_root() {
  static maps::bench::ScratchDir dir;
  static const bool filled = [] {
    for (std::uint32_t x = 0; x < maps::kMaxDecodedTiles; ++x) {
      maps::write_tile_file(dir.path() / "light" / maps::tile_file_name({x, 0, kZoom}), maps::bench::tile_png());
    }
    return true;
  }();
  (void)filled;
  return dir.path();
}

// The store with its worker thread, loading every tile from the disk cache.
Figures store_with_full_cache() {
  maps::TileStore store = maps::new_tile_store(cache_root(), "http://127.0.0.1:9");
  Figures f;
  f.rss_before = rss_bytes();
  for (std::uint32_t x = 0; x < maps::kMaxDecodedTiles; ++x) maps::request_tile(store, {x, 0, kZoom});
  for (int i = 0; i < 20000 && maps::tiles_in_flight(store); ++i) {
    maps::pump_tile_results(store);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  f.rss_after = rss_bytes();
  f.tiles = static_cast<double>(store.decoded.size());
  for (const auto& [key, image] : store.decoded) f.pixel_bytes += static_cast<double>(image.pixel_bytes());
  return f;
}

// How tiles were held before: the decoded RGBA pixels and a premultiplied copy for Cairo.
struct TwoCopyTile {
  std::vector<std::uint8_t> rgba;
  cairo_surface_t* surface = nullptr;
};

TwoCopyTile two_copy_tile(maps::DecodedTile tile) {
  TwoCopyTile out;
  out.surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(tile.width), static_cast<int>(tile.height));
  cairo_surface_flush(out.surface);
  unsigned char* dst = cairo_image_surface_get_data(out.surface);
  const int stride = cairo_image_surface_get_stride(out.surface);
  for (std::uint32_t y = 0; y < tile.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(dst + static_cast<std::size_t>(y) * stride);
    const std::uint8_t* src = tile.rgba.data() + static_cast<std::size_t>(y) * tile.width * 4;
    for (std::uint32_t x = 0; x < tile.width; ++x) {
      const std::uint32_t r = src[4 * x], g = src[4 * x + 1], b = src[4 * x + 2], a = src[4 * x + 3];
      auto pm = [a](std::uint32_t c) { return (c * a + 127) / 255; };
      row[x] = (a << 24) | (pm(r) << 16) | (pm(g) << 8) | pm(b);
    }
  }
  cairo_surface_mark_dirty(out.surface);
  out.rgba = std::move(tile.rgba);
  return out;
}

// The same 512 files, decoded on a thread of their own as the worker did, and held.
Figures two_copies_with_full_cache() {
  std::vector<TwoCopyTile> held;
  Figures f;
  f.rss_before = rss_bytes();
  std::thread worker([&] {
    for (std::uint32_t x = 0; x < maps::kMaxDecodedTiles; ++x) {
      std::ifstream in(cache_root() / "light" / maps::tile_file_name({x, 0, kZoom}), std::ios::binary);
      const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      auto tile = maps::decode_png_rgba(bytes);
      if (tile) held.push_back(two_copy_tile(std::move(tile).value()));
    }
  });
  worker.join();
  f.rss_after = rss_bytes();
  f.tiles = static_cast<double>(held.size());
  for (const TwoCopyTile& t : held) {
    f.pixel_bytes +=
        static_cast<double>(t.rgba.size()) +
        static_cast<double>(cairo_image_surface_get_stride(t.surface)) * cairo_image_surface_get_height(t.surface);
  }
  for (TwoCopyTile& t : held) cairo_surface_destroy(t.surface);
  return f;
}

void report(benchmark::State& state, const Figures& f) {
  constexpr double kMB = 1e6;
  constexpr double kMiB = 1024.0 * 1024.0;
  state.counters["tiles"] = f.tiles;
  state.counters["rss_MB"] = f.rss_after / kMB;
  state.counters["rss_growth_MB"] = (f.rss_after - f.rss_before) / kMB;
  state.counters["pixels_MiB"] = f.pixel_bytes / kMiB;
}

void BM_TileCacheFullRss(benchmark::State& state) {
  cache_root();
  Figures f;
  for (auto _ : state) f = in_child(store_with_full_cache);
  report(state, f);
}
BENCHMARK(BM_TileCacheFullRss)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_TileCacheFullRssTwoCopiesBaseline(benchmark::State& state) {
  cache_root();
  Figures f;
  for (auto _ : state) f = in_child(two_copies_with_full_cache);
  report(state, f);
}
BENCHMARK(BM_TileCacheFullRssTwoCopiesBaseline)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// Frames of the app in a real window on an X server of the benchmark's own, driven by pointer
// events as a user drives them: the main thread's CPU time per frame, from the window loop's
// hooks around each frame, as the median and the 90th percentile of many frames. Dragging the
// sample city with traffic, turning the wheel over it, and dragging the live map over raster
// tiles from a local server; at 1280 x 800 and on a 3840 x 2160 screen (1920 x 1080 at scale 2).
// Beside each, the same window at rest given an event that changes nothing, the floor of a frame
// the loop wakes for.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/construct.hpp"
#include "app/startup.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/private_x_server.hpp"
#include "live_rig.hpp"
#include "net/recording_job_spawner.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace {

using maps::bench::LocalTileServer;

enum class Gesture { Drag, Wheel, Nothing };

struct Scenario {
  std::vector<std::string> flags;  // a demonstration state, unless `tiles`
  bool tiles = false;              // the live app over raster tiles from a local server
  Gesture gesture = Gesture::Drag;
  int width = 1280, height = 800;
  double scale = 1.0;
};

struct FrameRecord {
  double median_ms = 0;
  double p90_ms = 0;
  int frames = 0;
};

constexpr int kWarmFrames = 12;
constexpr int kMeasuredFrames = 180;

void push_motion(int x, int y, bool held) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = held ? SDL_BUTTON_LMASK : 0;
  SDL_PushEvent(&e);
}

void push_button(int x, int y, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

void push_wheel(int lines) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = lines;
  e.wheel.preciseY = static_cast<float>(lines);
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&e);
}

// A triangle wave of `period` steps between 0 and `period` / 2.
int triangle(int k, int period) {
  const int m = k % period;
  return m <= period / 2 ? m : period - m;
}

[[noreturn]] void drive(int fd, const Scenario& sc) {
  const auto dir = maps::bench::fresh_dir();
  std::unique_ptr<LocalTileServer> server;
  std::unique_ptr<maps::MapsApp> app;
  maps::RecordingJobSpawner* jobs = nullptr;
  if (sc.tiles) {
    server = std::make_unique<LocalTileServer>();
    app = maps::build_maps_app(maps::default_map_model(), maps::VectorMap{},
                               maps::new_tile_store(dir / "tiles", server->host()), false, true);
    auto spawner = std::make_unique<maps::RecordingJobSpawner>();
    jobs = spawner.get();
    app->backend.job_spawner = std::move(spawner);
  } else {
    app = maps::app_from_launch_args(zarn_ui::launch::LaunchArgs::from_flags(sc.flags));
  }
  zarn_ui::state::State state;
  const int x0 = static_cast<int>(800 * sc.scale), y0 = static_cast<int>(450 * sc.scale);
  int step = -1;  // driven frames so far; -1 while the window settles
  std::size_t answered = 0;
  double start = 0;
  std::vector<double> samples;
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "x11";
  opts.scale = sc.scale;
  opts.before_frame = [&](std::uint64_t frame) {
    if (step < 0) {
      // Before each wait: once the window would sleep, events drive it.
      const bool rest =
          !app->needs_frame() && (!sc.tiles || (!app->has_pending_work() && !app->backend.tiles.decoded.empty()));
      if (frame < 1 || !rest) return;
      step = 0;
    }
    start = maps::bench::thread_cpu_ms();
    switch (sc.gesture) {
      case Gesture::Drag:
        if (step == 0) {
          push_motion(x0, y0, false);
          push_button(x0, y0, true);
        } else {
          push_motion(x0 + static_cast<int>(6 * sc.scale) * triangle(step, 40), y0, true);
        }
        break;
      case Gesture::Wheel:
        if (step == 0) push_motion(x0, y0, false);
        push_wheel((step / 6) % 2 == 0 ? 1 : -1);
        break;
      case Gesture::Nothing:
        push_motion(x0, y0 + step % 2, false);  // a hover that changes nothing on the map
        break;
    }
  };
  opts.after_frame = [&](std::uint64_t, bool) {
    if (jobs) {
      const auto pois = jobs->of_kind<maps::PoiJob>();
      for (; answered < pois.size(); ++answered) {
        app->backend.result_sender.send(maps::worker::Pois{std::vector<maps::Poi>{}, pois[answered].generation});
      }
    }
    if (step < 0) return;
    if (step >= kWarmFrames) samples.push_back(maps::bench::thread_cpu_ms() - start);
    ++step;
    if (static_cast<int>(samples.size()) == kMeasuredFrames) {
      maps::bench::send_record(fd, FrameRecord{maps::bench::median(samples), maps::bench::percentile(samples, 0.9),
                                               static_cast<int>(samples.size())});
      ::_exit(0);
    }
  };
  (void)zarn_ui::launch::run_window(
      *app, state, "maps", {static_cast<std::uint32_t>(sc.width), static_cast<std::uint32_t>(sc.height)}, opts);
  ::_exit(1);
}

void measure(benchmark::State& bs, const Scenario& sc) {
  const std::string screen = sc.scale > 1.0 ? "3840x2160x24" : "1920x1200x24";
  base_testing::PrivateXServer x(screen.c_str());
  if (x.display().empty()) {
    bs.SkipWithError("Xvfb did not start");
    return;
  }
  base::ScopedEnv display("DISPLAY", x.display());
  for (auto _ : bs) {
    FrameRecord got;
    const bool ok = maps::bench::run_child<FrameRecord>([&](int fd) { drive(fd, sc); },
                                                        [&](pid_t, const FrameRecord& r) { got = r; });
    if (!ok) {
      bs.SkipWithError("the window did not report its frames");
      return;
    }
    bs.counters["frame_ms"] = got.median_ms;
    bs.counters["p90_ms"] = got.p90_ms;
    bs.counters["frames"] = got.frames;
  }
}

const Scenario kPanTraffic{{"--traffic"}, false, Gesture::Drag};
const Scenario kWheelTraffic{{"--traffic"}, false, Gesture::Wheel};
const Scenario kTileDrag{{}, true, Gesture::Drag};

Scenario at_4k(Scenario s) {
  s.width = 1920;
  s.height = 1080;
  s.scale = 2.0;
  return s;
}

void BM_LivePan_Traffic_1280x800(benchmark::State& s) { measure(s, kPanTraffic); }
void BM_LiveWheelZoom_Traffic_1280x800(benchmark::State& s) { measure(s, kWheelTraffic); }
void BM_LiveTileDrag_1280x800(benchmark::State& s) { measure(s, kTileDrag); }
void BM_LiveHover_Traffic_1280x800(benchmark::State& s) { measure(s, {{"--traffic"}, false, Gesture::Nothing}); }
void BM_LivePan_Plain_3840x2160(benchmark::State& s) { measure(s, at_4k({{}, false, Gesture::Drag})); }
void BM_LivePan_Traffic_3840x2160(benchmark::State& s) { measure(s, at_4k(kPanTraffic)); }
void BM_LiveWheelZoom_Plain_3840x2160(benchmark::State& s) { measure(s, at_4k({{}, false, Gesture::Wheel})); }
void BM_LiveWheelZoom_Traffic_3840x2160(benchmark::State& s) { measure(s, at_4k(kWheelTraffic)); }
void BM_LiveTileDrag_3840x2160(benchmark::State& s) { measure(s, at_4k(kTileDrag)); }
void BM_LiveHover_Traffic_3840x2160(benchmark::State& s) {
  measure(s, at_4k({{"--traffic"}, false, Gesture::Nothing}));
}

}  // namespace

BENCHMARK(BM_LivePan_Traffic_1280x800)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveWheelZoom_Traffic_1280x800)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveTileDrag_1280x800)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveHover_Traffic_1280x800)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LivePan_Plain_3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LivePan_Traffic_3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveWheelZoom_Plain_3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveWheelZoom_Traffic_3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveTileDrag_3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveHover_Traffic_3840x2160)->Iterations(1)->Unit(benchmark::kMillisecond);

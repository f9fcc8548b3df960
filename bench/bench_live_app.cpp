// The live app at rest in a 1280 x 800 window on an X server of the benchmark's own, its map
// tiles loaded from a local server: resident memory, the time to the first presented frame and
// the CPU it uses while resting. Presenting through the window surface (the default) beside
// SDL's OpenGL texture framebuffer (SDL_FRAMEBUFFER_ACCELERATION=1), in the same run, each in a
// fresh child process. Goal for the default: at most 80 MiB resident.
#include <benchmark/benchmark.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/construct.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/private_x_server.hpp"
#include "live_rig.hpp"
#include "net/recording_job_spawner.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using maps::bench::cpu_seconds;
using maps::bench::LocalTileServer;
using maps::bench::status_kib;

struct Ready {
  double first_frame_s = 0;
};

// The child: runs the live app until it is killed, and says once when it is at rest.
[[noreturn]] void run_live_app(int ready_fd, const std::filesystem::path& tiles, bool texture_framebuffer) {
  if (texture_framebuffer) {
    ::setenv("SDL_FRAMEBUFFER_ACCELERATION", "1", 1);
  } else {
    ::unsetenv("SDL_FRAMEBUFFER_ACCELERATION");
  }
  const auto start = Clock::now();
  LocalTileServer server;
  auto app = maps::build_maps_app(maps::default_map_model(), maps::VectorMap{},
                                  maps::new_tile_store(tiles, server.host()), false, true);
  auto spawner = std::make_unique<maps::RecordingJobSpawner>();
  maps::RecordingJobSpawner* jobs = spawner.get();
  app->backend.job_spawner = std::move(spawner);
  zarn_ui::state::State state;
  Ready ready;
  bool told = false;
  std::size_t answered = 0;
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "x11";
  opts.after_frame = [&](std::uint64_t, bool repainted) {
    if (repainted && ready.first_frame_s == 0) {
      ready.first_frame_s = std::chrono::duration<double>(Clock::now() - start).count();
    }
    // The view-idle deadline asks for the points of interest around: none.
    const auto pois = jobs->of_kind<maps::PoiJob>();
    for (; answered < pois.size(); ++answered) {
      app->backend.result_sender.send(maps::worker::Pois{std::vector<maps::Poi>{}, pois[answered].generation});
    }
    if (told || app->needs_frame() || app->has_pending_work() || app->backend.tiles.decoded.empty()) return;
    told = true;
    if (::write(ready_fd, &ready, sizeof ready) != static_cast<ssize_t>(sizeof ready)) ::_exit(1);
  };
  const int status = zarn_ui::launch::run_window(*app, state, "maps", {1280, 800}, opts);
  ::_exit(status == 0 ? 0 : 1);
}

std::filesystem::path fresh_dir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bench-live-XXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  return ::mkdtemp(buf.data());
}

void measure_at_rest(benchmark::State& bs, bool texture_framebuffer) {
  base_testing::PrivateXServer x("1920x1200x24");
  if (x.display().empty()) {
    bs.SkipWithError("Xvfb did not start");
    return;
  }
  base::ScopedEnv display("DISPLAY", x.display());
  for (auto _ : bs) {
    const auto dir = fresh_dir();
    int fds[2];
    if (::pipe(fds) != 0) {
      bs.SkipWithError("no pipe");
      return;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(fds[0]);
      run_live_app(fds[1], dir / "tiles", texture_framebuffer);
    }
    ::close(fds[1]);
    Ready ready;
    pollfd p{fds[0], POLLIN, 0};
    const bool at_rest = pid > 0 && ::poll(&p, 1, 30000) > 0 &&
                         ::read(fds[0], &ready, sizeof ready) == static_cast<ssize_t>(sizeof ready);
    ::close(fds[0]);
    if (at_rest) {
      std::this_thread::sleep_for(1s);  // what the first frames freed goes back first
      bs.counters["rss_MiB"] = status_kib(pid, "VmRSS") / 1024.0;
      bs.counters["peak_rss_MiB"] = status_kib(pid, "VmHWM") / 1024.0;
      bs.counters["first_frame_s"] = ready.first_frame_s;
      const double cpu0 = cpu_seconds(pid);
      std::this_thread::sleep_for(5s);
      bs.counters["idle_cpu_s_in_5s"] = cpu_seconds(pid) - cpu0;
    }
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    std::filesystem::remove_all(dir);
    if (!at_rest) bs.SkipWithError("the app did not come to rest");
  }
}

void BM_LiveAppAtRest_WindowSurface(benchmark::State& s) { measure_at_rest(s, false); }
void BM_LiveAppAtRest_TextureFramebuffer(benchmark::State& s) { measure_at_rest(s, true); }

}  // namespace

BENCHMARK(BM_LiveAppAtRest_WindowSurface)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LiveAppAtRest_TextureFramebuffer)->Iterations(1)->Unit(benchmark::kMillisecond);

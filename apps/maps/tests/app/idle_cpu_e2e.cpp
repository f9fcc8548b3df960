// The window loop sleeps while it waits: the live app with a tile request that is never answered,
// and a demonstration state whose search nothing will ever answer, use (almost) no CPU and draw
// no frames over ten seconds in a window on an X server of the test's own, while the desktop's
// settings are watched (a settings portal on a bus of the test's own, or a bus without one).

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "app/construct.hpp"
#include "app/startup.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/fake_settings_portal.hpp"
#include "base_testing/private_bus.hpp"
#include "base_testing/private_x_server.hpp"
#include "../tiles/tile_server.hpp"
#include "net/recording_job_spawner.hpp"
#include "transitions/search.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;

// User and system CPU time of this process so far (every thread).
std::chrono::duration<double> process_cpu() {
  std::ifstream in("/proc/self/stat");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The fields after the command name, which may hold spaces, start past its ')'.
  std::istringstream rest(all.substr(all.rfind(')') + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return std::chrono::duration<double>(static_cast<double>(utime + stime) /
                                       static_cast<double>(::sysconf(_SC_CLK_TCK)));
}

struct IdleFigures {
  bool measured = false;
  double cpu_seconds = 0;
  std::uint64_t frames = 0;
};

// Runs `app` in a window that follows the settings portal on `settings_bus` until `ready` holds
// after a frame, then measures ten seconds in which nothing is done to the window, and closes it.
// Gives up (unmeasured) when `ready` has not held within 30 seconds.
IdleFigures run_idle(MapsApp& app, zarn_ui::state::State& state, const std::string& settings_bus,
                     const std::function<void(std::uint64_t)>& script, const std::function<bool()>& ready) {
  IdleFigures figures;
  std::atomic<std::uint64_t> frames{0};
  std::atomic<bool> is_ready{false};
  std::thread measurer([&] {
    const auto give_up = std::chrono::steady_clock::now() + 30s;
    while (!is_ready && std::chrono::steady_clock::now() < give_up) std::this_thread::sleep_for(50ms);
    if (is_ready) {
      std::this_thread::sleep_for(500ms);  // a frame under way ends first
      const auto cpu0 = process_cpu();
      const std::uint64_t frames0 = frames;
      std::this_thread::sleep_for(10s);
      figures.cpu_seconds = (process_cpu() - cpu0).count();
      figures.frames = frames - frames0;
      figures.measured = true;
    }
    SDL_Event q{};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
  });
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "x11";
  opts.settings_bus = settings_bus;
  opts.before_frame = script;
  opts.after_frame = [&](std::uint64_t, bool) {
    ++frames;
    if (!is_ready && ready()) is_ready = true;
  };
  EXPECT_EQ(zarn_ui::launch::run_window(app, state, "maps", {1000, 700}, opts), 0);
  measurer.join();
  return figures;
}

constexpr double kIdleCpuBound = 0.2;  // seconds of CPU in ten seconds: generous, polling costs far more

TEST(IdleCpu, LiveAppWithATileRequestOutstanding) {
  base_testing::PrivateXServer x("1280x900x24");
  ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
  base::ScopedEnv env("DISPLAY", x.display());
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  base_testing::FakeSettingsPortal portal(bus->address(), {true, true, {{"color-scheme", sdbus::Variant(1u)}}});
  // Every tile request waits inside the server, unanswered, until the test ends.
  testing::TileServer server;
  server.hold();
  const auto root = std::filesystem::temp_directory_path() / ("maps-idle-e2e-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);

  auto app = build_maps_app(default_map_model(), VectorMap{}, new_tile_store(root, server.host()), false, true);
  app->backend.job_spawner = std::make_unique<RecordingJobSpawner>();
  zarn_ui::state::State state;
  const IdleFigures f = run_idle(*app, state, bus->address(), {}, [&] { return server.total_hits() > 0; });
  ASSERT_TRUE(f.measured);
  EXPECT_TRUE(tiles_in_flight(app->backend.tiles)) << "the tile request was answered after all";
  EXPECT_TRUE(app->has_pending_work());
  EXPECT_LE(f.frames, 2u);
  EXPECT_LT(f.cpu_seconds, kIdleCpuBound);
  std::printf("live app, tile outstanding: %.3f s CPU and %llu frames in 10 s\n", f.cpu_seconds,
              static_cast<unsigned long long>(f.frames));
  app.reset();
  std::filesystem::remove_all(root);
}

TEST(IdleCpu, DemonstrationStateAfterASearch) {
  base_testing::PrivateXServer x("1280x900x24");
  ASSERT_FALSE(x.display().empty()) << "Xvfb did not start";
  base::ScopedEnv env("DISPLAY", x.display());
  auto bus = base_testing::PrivateBus::start();  // no portal on it
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  auto app = app_from_launch_args(zarn_ui::launch::LaunchArgs::from_flags({}));
  zarn_ui::state::State state;
  MapsApp& a = *app;
  const IdleFigures f = run_idle(
      a, state, bus->address(),
      [&](std::uint64_t frame) {
        if (frame != 0) return;
        a.model.query = "coffee";
        submit_search(a, &state);
      },
      [&] { return a.backend.pending_jobs > 0; });
  ASSERT_TRUE(f.measured);
  EXPECT_EQ(a.backend.pending_jobs, 1u);  // nothing answers a search in a demonstration state
  EXPECT_TRUE(a.has_pending_work());
  EXPECT_LE(f.frames, 2u);
  EXPECT_LT(f.cpu_seconds, kIdleCpuBound);
  std::printf("demonstration state, search pending: %.3f s CPU and %llu frames in 10 s\n", f.cpu_seconds,
              static_cast<unsigned long long>(f.frames));
}

}  // namespace
}  // namespace maps

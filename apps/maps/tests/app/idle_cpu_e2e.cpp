// The window loop sleeps while it waits: the live app with a tile request that is never answered,
// and a demonstration state whose search nothing will ever answer, go to sleep with no timer
// armed, and then wake up for nothing, draw no frames and use (almost) no CPU in a window on an
// X server of the test's own, while the desktop's settings are watched (a settings portal on a
// bus of the test's own, or a bus without one).

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "../tiles/tile_server.hpp"
#include "app/construct.hpp"
#include "app/startup.hpp"
#include "base/scoped_env.hpp"
#include "base_testing/fake_settings_portal.hpp"
#include "base_testing/private_bus.hpp"
#include "base_testing/private_x_server.hpp"
#include "net/recording_job_spawner.hpp"
#include "tile_root.hpp"
#include "transitions/search.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;

// User and system CPU time of this process so far (every thread).
std::chrono::duration<double> process_cpu() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return std::chrono::duration<double>(seconds(usage.ru_utime) + seconds(usage.ru_stime));
}

struct IdleFigures {
  bool measured = false;
  double cpu_seconds = 0;
  std::uint64_t frames = 0;
  std::uint64_t wakes = 0;  // times the loop woke up and looked again
};

constexpr auto kWindow = 1s;

// Runs `app` in a window that follows the settings portal on `settings_bus` until `ready` holds
// after a frame and the loop has then gone to sleep with nothing to wake it before the window
// ends, measures that window, in which nothing is done to the window, and closes it. Gives up
// (unmeasured) when that has not happened within 30 seconds.
IdleFigures run_idle(MapsApp& app, zarn_ui::state::State& state, const std::string& settings_bus,
                     const std::function<void(std::uint64_t)>& script, const std::function<bool()>& ready) {
  IdleFigures figures;
  std::atomic<std::uint64_t> frames{0};
  std::atomic<std::uint64_t> waits{0};
  std::atomic<bool> is_ready{false};
  std::atomic<bool> asleep{false};
  std::mutex mu;
  std::condition_variable changed;
  std::thread measurer([&] {
    {
      std::unique_lock lock(mu);
      changed.wait_for(lock, 30s, [&] { return is_ready && asleep; });
    }
    if (is_ready && asleep) {
      const auto cpu0 = process_cpu();
      const std::uint64_t frames0 = frames, waits0 = waits;
      std::this_thread::sleep_for(kWindow);
      figures.cpu_seconds = (process_cpu() - cpu0).count();
      figures.frames = frames - frames0;
      figures.wakes = waits - waits0;
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
  opts.before_wait = [&](std::optional<std::chrono::milliseconds> timeout) {
    ++waits;
    if (!is_ready || asleep) return;
    // Only a wait that outlasts the window counts: a shorter one is a timer still running.
    if (!timeout || *timeout > 2 * kWindow) {
      std::lock_guard lock(mu);
      asleep = true;
      changed.notify_all();
    }
  };
  EXPECT_EQ(zarn_ui::launch::run_window(app, state, "maps", {1000, 700}, opts), 0);
  measurer.join();
  return figures;
}

constexpr double kIdleCpuBound = 0.02;  // seconds of CPU in the window: generous, polling costs far more

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
  EXPECT_EQ(f.frames, 0u);
  EXPECT_EQ(f.wakes, 0u);
  EXPECT_LT(f.cpu_seconds, kIdleCpuBound);
  std::printf("live app, tile outstanding: %.4f s CPU, %llu frames and %llu wake-ups in 1 s\n", f.cpu_seconds,
              static_cast<unsigned long long>(f.frames), static_cast<unsigned long long>(f.wakes));
  app.reset();
  testing::remove_tile_root(root);
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
        submit_search(a.session(), &state);
      },
      [&] { return a.backend.pending_jobs > 0; });
  ASSERT_TRUE(f.measured);
  EXPECT_EQ(a.backend.pending_jobs, 1u);  // nothing answers a search in a demonstration state
  EXPECT_TRUE(a.has_pending_work());
  EXPECT_EQ(f.frames, 0u);
  EXPECT_EQ(f.wakes, 0u);
  EXPECT_LT(f.cpu_seconds, kIdleCpuBound);
  std::printf("demonstration state, search pending: %.4f s CPU, %llu frames and %llu wake-ups in 1 s\n", f.cpu_seconds,
              static_cast<unsigned long long>(f.frames), static_cast<unsigned long long>(f.wakes));
}

}  // namespace
}  // namespace maps

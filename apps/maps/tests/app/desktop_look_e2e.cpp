// The live app follows the desktop's colour scheme while it runs: when the settings portal
// announces dark, the frame that the change wakes (the loop was asleep) is drawn with the dark
// tile style, and the respawned tile worker asks for the dark tiles; back to light the same way.

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../tiles/tile_server.hpp"
#include "app/construct.hpp"
#include "base_testing/fake_settings_portal.hpp"
#include "base_testing/private_bus.hpp"
#include "net/recording_job_spawner.hpp"
#include "tile_root.hpp"
#include "zarn_ui/launch.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;

bool wait_until(const std::function<bool()>& done) {
  const auto give_up = std::chrono::steady_clock::now() + 5s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

TEST(DesktopTheme, TheLiveMapSwitchesTileStyleWithTheDesktop) {
  auto bus = base_testing::PrivateBus::start();
  ASSERT_NE(bus, nullptr) << "dbus-daemon did not start";
  base_testing::FakeSettingsPortal portal(bus->address(), {true, true, {{"color-scheme", sdbus::Variant(2u)}}});
  testing::TileServer server;  // answers 404: the tiles fail, the requests are what counts
  const auto root = std::filesystem::temp_directory_path() / ("maps-desktop-look-e2e-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);
  auto app = build_maps_app(default_map_model(), VectorMap{}, new_tile_store(root, server.host()), false, true);
  app->backend.job_spawner = std::make_unique<RecordingJobSpawner>();
  zarn_ui::state::State state;

  std::mutex mu;
  std::vector<bool> dark_frames;  // the tile style each frame was drawn with
  bool tiles_awaited = true;      // after the last frame
  const auto frames = [&] {
    std::lock_guard lock(mu);
    return dark_frames.size();
  };
  zarn_ui::launch::LoopOptions opts;
  opts.video_driver = "dummy";
  opts.settings_bus = bus->address();
  opts.after_frame = [&](std::uint64_t, bool) {
    std::lock_guard lock(mu);
    dark_frames.push_back(app->backend.tiles.dark);
    tiles_awaited = tiles_in_flight(app->backend.tiles);
  };
  struct Step {
    const char* what;
    std::uint32_t scheme;
    bool dark;
    const char* style;
    std::size_t frame = 0;      // the first frame after the change
    int style_hits_before = 0;  // requests for the style's tiles before it
    bool asked = false;         // the worker asked for the style's tiles after it
  };
  std::vector<Step> steps = {{"dark", 1, true, "/dark_nolabels/"}, {"light", 2, false, "/light_nolabels/"}};
  // Until the loop sleeps with no tile answer to wake it (the failed tiles wait out their back-off).
  const auto idle = [&] {
    return wait_until([&] {
      const std::size_t n = frames();
      std::this_thread::sleep_for(150ms);
      std::lock_guard lock(mu);
      return dark_frames.size() == n && !tiles_awaited;
    });
  };
  bool started_light = false;
  std::thread desktop([&] {
    started_light = wait_until([&] { return server.hits_under("/light_nolabels/") > 0; });
    for (Step& step : steps) {
      if (!started_light || !idle()) break;
      step.style_hits_before = server.hits_under(step.style);
      step.frame = frames();
      portal.change("color-scheme", sdbus::Variant(step.scheme));
      step.asked = wait_until([&] { return server.hits_under(step.style) > step.style_hits_before; });
    }
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  });
  EXPECT_EQ(zarn_ui::launch::run_window(*app, state, "maps", {800, 600}, opts), 0);
  desktop.join();

  ASSERT_TRUE(started_light) << "the light tiles were never asked for";
  std::lock_guard lock(mu);
  ASSERT_FALSE(dark_frames.empty());
  EXPECT_FALSE(dark_frames.front());
  for (const Step& step : steps) {
    ASSERT_LT(step.frame, dark_frames.size()) << step.what;
    EXPECT_EQ(dark_frames[step.frame], step.dark) << step.what;
    EXPECT_TRUE(step.asked) << step.what;
  }
  app.reset();
  testing::remove_tile_root(root);
}

}  // namespace
}  // namespace maps

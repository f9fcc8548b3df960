// The live map against a tile server that takes connections and never answers: with the worker's
// real time limits, the map says that its imagery is unavailable within twenty seconds of the
// first request, instead of "Loading map…" for as long as one watches.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../overlay/overlay_frame.hpp"
#include "../tiles/tile_server.hpp"
#include "app/construct.hpp"
#include "map_layers/status_banner.hpp"
#include "net/recording_job_spawner.hpp"
#include "tile_root.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::string> frame_texts(MapsApp& app) { return overlay_testing::Painter{}.window(app).texts(); }

bool shows(const std::vector<std::string>& texts, std::string_view s) {
  return std::find(texts.begin(), texts.end(), s) != texts.end();
}

TEST(SilentTileHost, TheMapSaysItsImageryIsUnavailableWithinTwentySeconds) {
  testing::TileServer server;
  server.hold();
  const auto root = std::filesystem::temp_directory_path() / ("maps-silent-host-" + std::to_string(getpid()));
  std::filesystem::remove_all(root);
  auto app = build_maps_app(default_map_model(), VectorMap{}, new_tile_store(root, server.host()), false, true);
  app->backend.job_spawner = std::make_unique<RecordingJobSpawner>();
  app->bounds_rect = {0, 0, 1280, 800};
  zarn_ui::state::State state;

  const auto start = Clock::now();
  bool loading_first = false;
  bool unavailable = false;
  while (!unavailable && Clock::now() - start < 40s) {
    app->tick(state);
    const auto texts = frame_texts(*app);
    if (Clock::now() - start < 1s && shows(texts, kLoadingMapText)) loading_first = true;
    unavailable = shows(texts, kImageryUnavailableText);
    if (!unavailable) std::this_thread::sleep_for(50ms);
  }
  const auto took = Clock::now() - start;
  EXPECT_TRUE(loading_first);
  ASSERT_TRUE(unavailable);
  EXPECT_LT(took, 20s);
  // Only the first round of transfers went out (and, where their time-outs came one by one, a
  // transfer in a slot freed before the third); the screen's other tiles failed with them.
  EXPECT_LE(server.total_hits(), static_cast<int>(kMaxTileTransfers) + kHostFailuresInARow - 1);
  EXPECT_TRUE(tile_host_failing(app->backend.tiles));
  std::printf("the banner said so after %.1f s\n", std::chrono::duration<double>(took).count());
  app.reset();
  testing::remove_tile_root(root);
}

}  // namespace
}  // namespace maps

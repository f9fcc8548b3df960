// The worker keeps several transfers running: a tile the server does not answer holds up no
// other, and a region download leaves transfers free for the screen.
#include <gtest/gtest.h>

#include "png_fixture.hpp"
#include "store_pump.hpp"
#include "temp_dir.hpp"
#include "tile_server.hpp"
#include "tiles/tile_store.hpp"
#include "tiles/tile_worker.hpp"

namespace maps {
namespace {

using testing::light_path;
using testing::pump_until;

class TileTransfers : public ::testing::Test {
 protected:
  testing::TempDir dir;
  testing::TileServer server;
  TileStore open() { return new_tile_store(dir.path() / "tiles", server.host()); }
  void serve(const TileKey& k) { server.set(light_path(k), 200, testing::solid_png(4, 4, 10, 20, 30)); }
};

TEST_F(TileTransfers, AStalledTileHoldsUpNoOther) {
  const TileKey stalled{1, 1, 3};
  const std::vector<TileKey> others = {{2, 1, 3}, {3, 1, 3}, {4, 1, 3}};
  serve(stalled);
  for (const TileKey& k : others) serve(k);
  server.stall(light_path(stalled));
  TileStore store = open();
  request_tile(store, stalled);  // asked first
  for (const TileKey& k : others) request_tile(store, k);
  ASSERT_TRUE(pump_until(store, [&] { return store.decoded.size() == others.size(); }));
  for (const TileKey& k : others) EXPECT_NE(loaded_tile(store, k), nullptr);
  EXPECT_TRUE(store.pending.contains(stalled));
  // Asked first, but its request may reach the server after the others were answered.
  ASSERT_TRUE(server.wait_for_hits(4));
  EXPECT_EQ(server.hits(light_path(stalled)), 1);

  server.release();
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_NE(loaded_tile(store, stalled), nullptr);
}

TEST_F(TileTransfers, ARegionDownloadLeavesTransfersForTheScreen) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const auto keys = region_tiles(box, 14, 16);
  ASSERT_GT(keys.size(), kMaxTileTransfers);
  for (const TileKey& k : keys) {
    serve(k);
    server.stall(light_path(k));
  }
  const TileKey screen{7, 7, 4};
  serve(screen);
  TileStore store = open();
  const std::uint32_t n = enqueue_region_download(store, box, 14, 16);
  const int download_transfers = static_cast<int>(kMaxTileTransfers - kTransfersKeptForScreen);
  ASSERT_TRUE(server.wait_for_hits(download_transfers));

  request_tile(store, screen);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_NE(loaded_tile(store, screen), nullptr);
  EXPECT_EQ(server.total_hits(), download_transfers + 1);  // the download took no more
  EXPECT_EQ(store.download_done, 0u);

  server.release();
  ASSERT_TRUE(pump_until(store, [&] { return !download_in_progress(store); }));
  EXPECT_EQ(store.download_done, n);
  EXPECT_EQ(store.download_failed, 0u);
  for (const TileKey& k : keys) EXPECT_EQ(server.hits(light_path(k)), 1);
}

// A transfer's time-out runs from its own start: tiles stuck behind a server that does not
// answer fail together, not one time-out after another.
TEST_F(TileTransfers, TilesOfAServerThatDoesNotAnswerFailTogether) {
  server.hold();
  TileStore store =
      new_tile_store(dir.path() / "tiles", server.host(), TileWorkerSettings{std::chrono::milliseconds(1000), 4});
  for (std::uint32_t x = 0; x < 4; ++x) request_tile(store, {x, 0, 2});
  ASSERT_TRUE(server.wait_for_hits(4));  // all four asked for before any answer
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_EQ(store.failures.size(), 4u);
  EXPECT_TRUE(store.decoded.empty());
}

}  // namespace
}  // namespace maps

// How the worker treats its tile host: one that never answers is known to fail after three
// transfers, its queued tiles fail at once and it is probed again after a pause; a Retry-After
// holds requests back; tiles that left the view do not wait for a transfer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "png_fixture.hpp"
#include "store_pump.hpp"
#include "temp_dir.hpp"
#include "tile_server.hpp"
#include "tiles/tile_store.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::light_path;
using testing::pump_until;

std::vector<TileKey> row_of_tiles(std::uint32_t n, std::uint8_t z = 6) {
  std::vector<TileKey> keys;
  for (std::uint32_t x = 0; x < n; ++x) keys.push_back({x, 1, z});
  return keys;
}

class TileHost : public ::testing::Test {
 protected:
  testing::TempDir dir;
  testing::TileServer server;
  void serve(const TileKey& k) { server.set(light_path(k), 200, testing::solid_png(4, 4, 10, 20, 30)); }
  TileStore open(TileWorkerSettings settings) { return new_tile_store(dir.path() / "tiles", server.host(), settings); }
};

TEST_F(TileHost, AHostThatNeverAnswersFailsItsQueueAtOnceAndIsProbedAgainAfterAPause) {
  server.hold();
  const auto keys = row_of_tiles(10);
  for (const TileKey& k : keys) serve(k);
  TileStore store = open({1000ms, 2, 2s});
  const auto start = Clock::now();
  request_view_tiles(store, keys);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  const auto failed_after = Clock::now() - start;
  // Two rounds of two transfers time out; the third time-out marks the host, and the six tiles
  // still queued fail with it instead of taking three more rounds.
  EXPECT_TRUE(tile_host_failing(store));
  EXPECT_EQ(store.failures.size(), keys.size());
  EXPECT_EQ(server.total_hits(), 4);
  EXPECT_LT(failed_after, 3500ms);  // one time-out after another would take five seconds

  // Within the pause, asked again, they fail without a transfer.
  store.failures.clear();
  request_view_tiles(store, keys);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_EQ(server.total_hits(), 4);

  // The view keeps asking, as it does every frame.
  const auto ask_until = [&](auto done) {
    const auto give_up = Clock::now() + 30s;
    while (!done() && Clock::now() < give_up) {
      store.failures.clear();
      request_view_tiles(store, keys);
      pump_tile_results(store);
      std::this_thread::sleep_for(10ms);
    }
    return done();
  };
  // After the pause, one tile probes the host; the others still fail at once.
  ASSERT_TRUE(ask_until([&] { return server.total_hits() > 4; }));
  EXPECT_EQ(server.total_hits(), 5);
  EXPECT_GE(Clock::now() - start, failed_after + 2s - 100ms);

  // A probe gets its reply: the host answers again, and what failed is asked for at once.
  server.release();
  ASSERT_TRUE(ask_until([&] { return !tile_host_failing(store); }));
  request_view_tiles(store, keys);
  ASSERT_TRUE(pump_until(store, [&] { return store.decoded.size() == keys.size(); }));
  EXPECT_TRUE(store.failures.empty());
}

// A 429's Retry-After keeps the next tiles from the host until it has passed; a pause past the
// screen's patience fails the screen's queued tiles at once while a region download waits it out.
TEST_F(TileHost, RetryAfterIsHonoured) {
  const TileKey limited{0, 0, 4};
  const TileKey next{1, 0, 4};
  server.set(light_path(limited), 429, {}, "2");
  serve(next);
  TileStore store = open({5s, 1, 2s});  // one transfer at a time: the 429 comes first
  request_tile(store, limited);
  request_tile(store, next);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_TRUE(store.failures.contains(limited));
  ASSERT_NE(loaded_tile(store, next), nullptr);
  const auto limited_at = server.first_arrival(light_path(limited));
  const auto next_at = server.first_arrival(light_path(next));
  ASSERT_TRUE(limited_at && next_at);
  EXPECT_GE(*next_at - *limited_at, 2s - 50ms);
  EXPECT_FALSE(tile_host_failing(store));

  // An hour: the screen's tiles do not wait; the region tiles stay queued for later.
  testing::TempDir other;
  TileStore held = new_tile_store(other.path() / "tiles", server.host(), {5s, 1, 2s});
  server.set(light_path(limited), 429, {}, "3600");
  request_tile(held, limited);
  ASSERT_TRUE(pump_until(held, [&] { return !tiles_in_flight(held); }));
  const int hits = server.total_hits();
  const auto screen = row_of_tiles(4, 7);
  request_view_tiles(held, screen);
  enqueue_region_download(held, {{48.13, 11.57}, {48.135, 11.575}}, 12, 12);
  ASSERT_TRUE(pump_until(held, [&] { return !tiles_in_flight(held); }));
  for (const TileKey& k : screen) EXPECT_TRUE(held.failures.contains(k));
  EXPECT_EQ(server.total_hits(), hits);
  EXPECT_TRUE(download_in_progress(held));
  EXPECT_EQ(held.download_failed, 0u);
}

// With every transfer busy, tiles the view has left are dropped from the queue: the tiles now
// in view go next.
TEST_F(TileHost, TilesThatLeftTheViewDoNotWaitForATransfer) {
  const auto first_view = row_of_tiles(4, 5);
  const auto second_view = row_of_tiles(3, 6);
  for (const TileKey& k : first_view) serve(k);
  for (const TileKey& k : second_view) serve(k);
  server.stall(light_path(first_view[0]));
  TileStore store = open({5s, 1, 2s});
  request_view_tiles(store, first_view);
  ASSERT_TRUE(server.wait_for_hits(1));

  request_view_tiles(store, second_view);
  EXPECT_EQ(store.pending.size(), second_view.size());
  server.release();
  ASSERT_TRUE(pump_until(store, [&] {
    return std::all_of(second_view.begin(), second_view.end(),
                       [&](const TileKey& k) { return store.decoded.contains(k); });
  }));
  // The running transfer finished as usual; the queued ones never went out.
  EXPECT_EQ(server.hits(light_path(first_view[0])), 1);
  for (std::size_t i = 1; i < first_view.size(); ++i) EXPECT_EQ(server.hits(light_path(first_view[i])), 0) << i;
  for (const TileKey& k : second_view) EXPECT_EQ(server.hits(light_path(k)), 1);
}

}  // namespace
}  // namespace maps

#include "tiles/tile_store.hpp"

#include <gtest/gtest.h>

#include "temp_dir.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;
using testing::write_file;

// Stands in for the worker thread: the test reads what the store asks and answers itself.
struct FakeWorker {
  base::Receiver<TileRequest> requests;
  base::Sender<TileResult> results;

  explicit FakeWorker(TileStore& store) {
    auto [req_tx, req_rx] = base::channel<TileRequest>();
    auto [res_tx, res_rx] = base::channel<TileResult>();
    store.request = std::move(req_tx);
    store.result = std::move(res_rx);
    requests = std::move(req_rx);
    results = std::move(res_tx);
  }

  std::vector<TileRequest> take() {
    std::vector<TileRequest> out;
    for (auto r = requests.try_recv(); r.has_value(); r = requests.try_recv()) out.push_back(*r.value);
    return out;
  }
};

struct ManualClock {
  TileClock::time_point t = TileClock::time_point(1000h);
  void install(TileStore& store) {
    store.now = [this] { return t; };
  }
};

zarn_ui::Image pixel() { return zarn_ui::Image::from_rgba8(1, 1, {1, 2, 3, 255}); }

TileStore store_with_worker(FakeWorker*& worker_out, std::unique_ptr<FakeWorker>& holder, ManualClock& clock) {
  TileStore store = new_offline_tile_store("/nonexistent");
  holder = std::make_unique<FakeWorker>(store);
  worker_out = holder.get();
  clock.install(store);
  return store;
}

class TileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { store = store_with_worker(worker, holder, clock); }
  void answer(TileResult r) { ASSERT_TRUE(worker->results.send(std::move(r))); }

  ManualClock clock;
  std::unique_ptr<FakeWorker> holder;
  FakeWorker* worker = nullptr;
  TileStore store;
};

const TileKey kA{1, 2, 3};

TEST_F(TileStoreTest, RequestsOnlyWhatIsNeitherLoadedPendingNorBackingOff) {
  request_tile(store, kA);
  request_tile(store, kA);  // pending: nothing more is sent
  EXPECT_EQ(worker->take(), (std::vector<TileRequest>{{TileRequestKind::Display, kA}}));
  EXPECT_TRUE(tiles_in_flight(store));

  const base::Error unavailable = base::err(base::ErrorKind::ServiceError, "HTTP 503 Service Unavailable", 503);
  answer(TileFailed{kA, unavailable});
  pump_tile_results(store);
  EXPECT_FALSE(tiles_in_flight(store));
  EXPECT_TRUE(has_failed_tiles(store));
  EXPECT_EQ(store.last_failure, unavailable);
  clock.t += 1s;
  request_tile(store, kA);
  EXPECT_TRUE(worker->take().empty());
  clock.t += 2s;  // 3 s after the failure
  request_tile(store, kA);
  EXPECT_EQ(worker->take().size(), 1u);

  answer(TileLoaded{kA, pixel()});
  pump_tile_results(store);
  EXPECT_FALSE(has_failed_tiles(store));
  request_tile(store, kA);
  EXPECT_TRUE(worker->take().empty());
  ASSERT_NE(loaded_tile(store, kA), nullptr);
  EXPECT_EQ(tile_image_handle(loaded_tile(store, kA)), *loaded_tile(store, kA));
}

// Each frame names the tiles the view misses: pending tiles it no longer names are cancelled
// (and no longer pending), the others are not asked twice, new ones are asked for.
TEST_F(TileStoreTest, ViewRequestsCancelTheTilesThatLeftTheView) {
  const TileKey b{2, 2, 3}, c{3, 2, 3};
  request_view_tiles(store, {kA, b});
  worker->take();
  request_view_tiles(store, {b, c});
  EXPECT_EQ(worker->take(), (std::vector<TileRequest>{{TileRequestKind::Cancel, kA}, {TileRequestKind::Display, c}}));
  EXPECT_EQ(store.pending, (std::unordered_set<TileKey>{b, c}));
  // An answer for the cancelled tile that was already under way is still taken.
  answer(TileLoaded{kA, pixel()});
  pump_tile_results(store);
  EXPECT_NE(loaded_tile(store, kA), nullptr);
}

// Known to fail, the host makes the map say so; answering again, the tiles that failed meanwhile
// are asked for at once instead of after their back-off.
TEST_F(TileStoreTest, TheHostsStatusIsKeptAndItsRecoveryEndsTheBackOff) {
  answer(TileFailed{kA, base::err(base::ErrorKind::Unreachable, "the tile server does not answer")});
  answer(TileHostStatus{true});
  pump_tile_results(store);
  EXPECT_TRUE(tile_host_failing(store));
  request_tile(store, kA);
  EXPECT_TRUE(worker->take().empty());  // backing off

  answer(TileHostStatus{false});
  pump_tile_results(store);
  EXPECT_FALSE(tile_host_failing(store));
  EXPECT_FALSE(has_failed_tiles(store));
  request_tile(store, kA);
  EXPECT_EQ(worker->take(), (std::vector<TileRequest>{{TileRequestKind::Display, kA}}));
}

TEST_F(TileStoreTest, BackoffDoublesUpToFiveMinutes) {
  const std::vector<int> expected_s = {2, 4, 8, 16, 32, 64, 128, 256, 300, 300, 300};
  for (int want : expected_s) {
    answer(TileFailed{kA, base::err("refused")});
    pump_tile_results(store);
    const TileBackoff& b = store.failures.at(kA);
    EXPECT_EQ(b.delay, std::chrono::seconds(want));
    EXPECT_EQ(b.next_retry, clock.t + std::chrono::seconds(want));
  }
}

TEST_F(TileStoreTest, FailureMapIsPrunedPastItsLimit) {
  auto fill = [&](std::size_t expired) {
    store.failures.clear();
    for (std::uint32_t i = 0; i < kMaxFailureEntries; ++i) {
      const bool old = i < expired;
      store.failures[TileKey{i, 0, 20}] = {old ? clock.t - 1s : clock.t + 10s, 2s};
    }
  };
  fill(100);
  answer(TileFailed{kA, base::err("refused")});  // the 4097th entry
  pump_tile_results(store);
  EXPECT_EQ(store.failures.size(), kMaxFailureEntries + 1 - 100);
  EXPECT_TRUE(store.failures.contains(kA));

  fill(0);
  answer(TileFailed{kA, base::err("refused")});
  pump_tile_results(store);
  EXPECT_TRUE(store.failures.empty());
}

TEST_F(TileStoreTest, EvictsTheLeastRecentlyUsedPast512) {
  for (std::uint32_t i = 0; i < kMaxDecodedTiles; ++i) answer(TileLoaded{TileKey{i, 0, 10}, pixel()});
  pump_tile_results(store);
  ASSERT_EQ(store.decoded.size(), kMaxDecodedTiles);
  ASSERT_NE(loaded_tile(store, TileKey{0, 0, 10}), nullptr);  // now the most recent
  answer(TileLoaded{TileKey{999, 0, 10}, pixel()});
  pump_tile_results(store);
  EXPECT_EQ(store.decoded.size(), kMaxDecodedTiles);
  EXPECT_TRUE(store.decoded.contains(TileKey{0, 0, 10}));
  EXPECT_FALSE(store.decoded.contains(TileKey{1, 0, 10}));
  EXPECT_EQ(store.lru.size(), kMaxDecodedTiles);
  EXPECT_EQ(store.lru.back(), (TileKey{999, 0, 10}));
}

TEST_F(TileStoreTest, OversizedTilesCannotMultiplyTheMemoryHeld) {
  // Sixteen 4096-pixel tiles hold as much as 4096 usual ones; only what fits 512 usual ones stays.
  const zarn_ui::Image huge = zarn_ui::Image::from_rgba8(4096, 4096, std::vector<std::uint8_t>(4096u * 4096u * 4u));
  ASSERT_FALSE(huge.empty());
  for (std::uint32_t i = 0; i < 4; ++i) answer(TileLoaded{TileKey{i, 0, 10}, huge});
  answer(TileLoaded{TileKey{9, 9, 10}, pixel()});
  pump_tile_results(store);
  std::size_t pixels = 0;
  for (const auto& [key, image] : store.decoded) pixels += std::size_t{image.width()} * image.height();
  EXPECT_LE(pixels, kMaxDecodedPixels);
  // The least recently used go first; the newest stay.
  EXPECT_FALSE(store.decoded.contains(TileKey{0, 0, 10}));
  EXPECT_TRUE(store.decoded.contains(TileKey{3, 0, 10}));
  EXPECT_TRUE(store.decoded.contains(TileKey{9, 9, 10}));
  EXPECT_EQ(store.lru.size(), store.decoded.size());
}

TEST_F(TileStoreTest, ATileWithoutPixelsIsDroppedAndNoLongerPending) {
  request_tile(store, kA);
  answer(TileLoaded{kA, zarn_ui::Image{}});
  pump_tile_results(store);
  EXPECT_FALSE(tiles_in_flight(store));
  EXPECT_EQ(loaded_tile(store, kA), nullptr);
  EXPECT_TRUE(store.lru.empty());
}

TEST_F(TileStoreTest, AncestorsAreFoundUpToEightLevels) {
  EXPECT_EQ(find_loaded_ancestor(store, TileKey{0, 0, 0}), std::nullopt);
  const TileKey deep{3000, 1500, 12};
  answer(TileLoaded{TileKey{3000 >> 9, 1500 >> 9, 3}, pixel()});  // 9 levels up: too far
  pump_tile_results(store);
  EXPECT_EQ(find_loaded_ancestor(store, deep), std::nullopt);
  answer(TileLoaded{TileKey{3000 >> 8, 1500 >> 8, 4}, pixel()});
  pump_tile_results(store);
  EXPECT_EQ(find_loaded_ancestor(store, deep), (std::pair{TileKey{11, 5, 4}, 8}));
  answer(TileLoaded{TileKey{3000 >> 2, 1500 >> 2, 10}, pixel()});
  pump_tile_results(store);
  EXPECT_EQ(find_loaded_ancestor(store, deep), (std::pair{TileKey{750, 375, 10}, 2}));
  EXPECT_EQ(store.lru.back(), (TileKey{750, 375, 10}));  // the lookup counts as a use
}

TEST_F(TileStoreTest, DownloadCountsEachTileOfTheRunningDownloadOnce) {
  const TileBox box{{-10, -10}, {10, 10}};
  ASSERT_EQ(enqueue_region_download(store, box, 1, 1), 4u);
  const auto sent = worker->take();
  ASSERT_EQ(sent.size(), 4u);
  for (const auto& r : sent) EXPECT_EQ(r.kind, TileRequestKind::Download);
  EXPECT_TRUE(download_in_progress(store));

  answer(TileDownloaded{TileKey{7, 7, 9}, true});  // not part of this download
  answer(TileDownloaded{sent[0].key, true});
  answer(TileDownloaded{sent[0].key, true});  // a repeat counts once
  answer(TileDownloaded{sent[1].key, false});
  answer(TileDownloaded{sent[2].key, true});
  pump_tile_results(store);
  EXPECT_EQ(store.download_total, 4u);
  EXPECT_EQ(store.download_done, 3u);
  EXPECT_EQ(store.download_failed, 1u);
  answer(TileDownloaded{sent[3].key, true});
  pump_tile_results(store);
  EXPECT_EQ(store.download_done, 4u);
  EXPECT_FALSE(download_in_progress(store));

  // A new download restarts the counters; late answers of the old one do not count.
  ASSERT_EQ(enqueue_region_download(store, {{-10, -10}, {10, 10}}, 2, 2), 4u);
  answer(TileDownloaded{sent[0].key, true});
  pump_tile_results(store);
  EXPECT_EQ(store.download_done, 0u);
}

TEST_F(TileStoreTest, AWorkerThatEndsLeavesNothingWaiting) {
  request_tile(store, kA);
  ASSERT_EQ(enqueue_region_download(store, {{-10, -10}, {10, 10}}, 1, 1), 4u);
  holder.reset();  // both of the worker's ends go away
  pump_tile_results(store);
  EXPECT_FALSE(store.request.has_value());
  EXPECT_FALSE(tiles_in_flight(store));
  EXPECT_EQ(store.download_done, 4u);
  EXPECT_EQ(store.download_failed, 4u);
  request_tile(store, TileKey{5, 5, 5});
  EXPECT_FALSE(tiles_in_flight(store));
}

TEST(TileStoreOffline, WithoutWorkerNothingLoadsAndDownloadsCompleteAtOnce) {
  TileStore store = new_offline_tile_store("/nonexistent");
  request_tile(store, kA);
  EXPECT_FALSE(tiles_in_flight(store));
  pump_tile_results(store);
  const TileBox box{{48.13, 11.57}, {48.14, 11.58}};
  const std::uint32_t n = enqueue_region_download(store, box, 14, 15);
  EXPECT_EQ(n, region_tile_count(box, 14, 15));
  EXPECT_EQ(store.download_total, n);
  EXPECT_EQ(store.download_done, n);
  EXPECT_FALSE(download_in_progress(store));
}

TEST(TileStoreOffline, StyleSwitchOnlyFlipsTheFlagAndEmptiesMemory) {
  TileStore store = new_offline_tile_store("/cache/root");
  store.decoded[kA] = pixel();
  store.lru.push_back(kA);
  store.failures[TileKey{9, 9, 9}] = {};
  set_tile_style(store, true);
  EXPECT_TRUE(store.dark);
  EXPECT_EQ(store.style_dir, std::filesystem::path("/cache/root"));
  EXPECT_TRUE(store.decoded.empty() && store.lru.empty() && store.failures.empty());
  EXPECT_FALSE(store.request.has_value());

  store.root = "/r";  // a known root picks the style's directory
  set_tile_style(store, false);
  EXPECT_EQ(store.style_dir, std::filesystem::path("/r/light"));
}

TEST(TileStoreOffline, DiskOperationsCoverTheWholeRoot) {
  TempDir dir;
  const auto root = dir.path() / "tiles";
  write_file(root / "light/14/1/1.png", std::vector<std::uint8_t>(300, 1));
  write_file(root / "dark/14/1/1.png", std::vector<std::uint8_t>(200, 1));
  TileStore store = new_offline_tile_store(root);
  EXPECT_EQ(tile_disk_usage(store), 500u);
  // Without a style directory the tile is looked for at root/14/1/1.png: nothing there.
  EXPECT_EQ(delete_region_tiles(store, {TileKey{1, 1, 14}}), 0u);
  EXPECT_EQ(tile_disk_usage(store), 500u);
  store.decoded[kA] = pixel();
  EXPECT_EQ(clear_tile_cache(store), 500u);
  EXPECT_TRUE(store.decoded.empty());
  EXPECT_FALSE(std::filesystem::exists(root));
  EXPECT_EQ(clear_tile_cache(store), 0u);
  EXPECT_EQ(tile_disk_usage(store), 0u);
}

TEST(TileStoreOffline, DeleteFreesTheNamedTilesOnly) {
  TempDir dir;
  write_file(dir.path() / "5/1/1.png", std::vector<std::uint8_t>(70, 1));
  write_file(dir.path() / "5/1/2.png", std::vector<std::uint8_t>(30, 1));
  write_file(dir.path() / "5/2/2.png", std::vector<std::uint8_t>(11, 1));
  TileStore store = new_offline_tile_store(dir.path());
  store.decoded[TileKey{1, 1, 5}] = pixel();
  store.lru.push_back(TileKey{1, 1, 5});
  EXPECT_EQ(delete_region_tiles(store, {TileKey{1, 1, 5}, TileKey{1, 2, 5}, TileKey{8, 8, 5}}), 100u);
  EXPECT_TRUE(store.decoded.empty());
  EXPECT_TRUE(store.lru.empty());
  EXPECT_EQ(tile_disk_usage(store), 11u);
}

TEST(TileStyleBase, LightAndDark) {
  EXPECT_EQ(tile_style_base("https://h", false), "https://h/light_nolabels");
  EXPECT_EQ(tile_style_base("https://h", true), "https://h/dark_nolabels");
  EXPECT_EQ(std::string(kDefaultTileHost), "https://basemaps.cartocdn.com");
}

}  // namespace
}  // namespace maps

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "png_fixture.hpp"
#include "store_pump.hpp"
#include "temp_dir.hpp"
#include "tile_server.hpp"
#include "tiles/tile_disk.hpp"
#include "tiles/tile_store.hpp"
#include "tiles/tile_worker.hpp"

namespace maps {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::TempDir;
using testing::TileServer;

using testing::light_path;
using testing::pump_until;

class TileStoreIntegration : public ::testing::Test {
 protected:
  TempDir dir;
  TileServer server;
  fs::path root() const { return dir.path() / "tiles"; }
  TileStore open() { return new_tile_store(root(), server.host()); }
};

const TileKey kKey{8718, 5685, 14};

TEST_F(TileStoreIntegration, DownloadsDecodesAndCachesATile) {
  const auto png = testing::solid_png(256, 256, 30, 60, 90);
  server.set(light_path(kKey), 200, png);
  TileStore store = open();
  request_tile(store, kKey);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  const zarn_ui::Image* image = loaded_tile(store, kKey);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 256u);
  EXPECT_NE(image->cairo_surface(), nullptr);
  EXPECT_EQ(testing::read_file(root() / "light/14/8718/5685.png"), png);
  EXPECT_EQ(server.hits(light_path(kKey)), 1);
  // One User-Agent and nothing else beyond what HTTP itself needs.
  auto headers = server.last_headers();
  EXPECT_EQ(headers["User-Agent"], "Zarn-Maps/0.1 (maps@zarn.so; native maps app)");
  headers.erase("User-Agent");
  headers.erase("Host");
  EXPECT_TRUE(headers.empty()) << headers.begin()->first;

  // A second store on the same cache reads the file and never asks the server.
  TileStore again = open();
  request_tile(again, kKey);
  ASSERT_TRUE(pump_until(again, [&] { return !tiles_in_flight(again); }));
  EXPECT_NE(loaded_tile(again, kKey), nullptr);
  EXPECT_EQ(server.hits(light_path(kKey)), 1);
}

// A tile around the view goes into the disk cache and not into memory, is asked for once, and
// needs no transfer when it is already on disk; a reply that is no tile is not kept.
TEST_F(TileStoreIntegration, TilesAroundTheViewAreFetchedIntoTheCacheOnly) {
  const TileKey on_disk{8719, 5685, 14}, bad{8720, 5685, 14};
  const auto png = testing::solid_png(256, 256, 30, 60, 90);
  server.set(light_path(kKey), 200, png);
  server.set(light_path(on_disk), 200, png);
  server.set(light_path(bad), 200, std::vector<std::uint8_t>{'<', 'h', 't', 'm', 'l', '>'});
  {
    TileStore warm = open();
    request_tile(warm, on_disk);
    ASSERT_TRUE(pump_until(warm, [&] { return !tiles_in_flight(warm); }));
  }
  TileStore store = open();
  prefetch_tiles(store, {kKey, on_disk, bad});
  prefetch_tiles(store, {kKey, on_disk, bad});  // the next frame asks for the same ring
  ASSERT_TRUE(pump_until(store, [&] { return !prefetches_in_flight(store); }));
  EXPECT_EQ(testing::read_file(root() / "light/14/8718/5685.png"), png);
  EXPECT_FALSE(fs::exists(root() / "light/14/8720/5685.png"));
  EXPECT_EQ(server.hits(light_path(kKey)), 1);
  EXPECT_EQ(server.hits(light_path(on_disk)), 1) << "only the warming store's";
  EXPECT_EQ(server.hits(light_path(bad)), 1);
  EXPECT_TRUE(store.decoded.empty());
  EXPECT_FALSE(has_failed_tiles(store)) << "a tile the view does not show is no failure of the view";

  // Shown later, it comes from the disk.
  request_tile(store, kKey);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_NE(loaded_tile(store, kKey), nullptr);
  EXPECT_EQ(server.hits(light_path(kKey)), 1);
}

TEST_F(TileStoreIntegration, FailedTilesBackOffAndBadRepliesAreNotCached) {
  const TileKey missing{1, 1, 5};
  const TileKey garbage{2, 1, 5};
  const TileKey error_png{3, 1, 5};
  server.set(light_path(garbage), 200, {'<', 'h', 't', 'm', 'l', '>'});
  server.set(light_path(error_png), 503, testing::solid_png(8, 8, 1, 1, 1));  // an error page that is a PNG
  TileStore store = open();
  TileClock::time_point t = TileClock::now();
  store.now = [&] { return t; };
  for (const TileKey& k : {missing, garbage, error_png}) request_tile(store, k);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  for (const TileKey& k : {missing, garbage, error_png}) {
    EXPECT_EQ(loaded_tile(store, k), nullptr);
    EXPECT_TRUE(store.failures.contains(k));
    EXPECT_FALSE(fs::exists(root() / "light" / tile_file_name(k)));
  }
  request_tile(store, missing);  // backing off: not asked again
  EXPECT_FALSE(tiles_in_flight(store));
  t += 3s;
  request_tile(store, missing);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  EXPECT_EQ(server.hits(light_path(missing)), 2);
  EXPECT_EQ(store.failures.at(missing).delay, 4s);
}

// The store keeps why the latest tile failed, of the kind the person is told about.
TEST_F(TileStoreIntegration, AFailedTileSaysWhy) {
  using K = base::ErrorKind;
  const TileKey key{1, 1, 5};
  std::string gone_host;
  {
    TileServer gone;
    gone_host = gone.host();
  }  // nothing listens there any more
  struct Case {
    const char* what;
    int status;  // 0: the tile is held back past the time limit
    std::vector<std::uint8_t> body;
    bool unreachable;
    K kind;
    long http_status;
  };
  const Case cases[] = {
      {"error page", 503, testing::solid_png(8, 8, 1, 1, 1), false, K::ServiceError, 503},
      {"not found", 404, {}, false, K::ServiceError, 404},
      {"html instead of a png", 200, {'<', 'h', 't', 'm', 'l', '>'}, false, K::BadReply, 0},
      {"no answer in time", 0, {}, false, K::TimedOut, 0},
      {"connection refused", 200, {}, true, K::Unreachable, 0},
  };
  for (const Case& c : cases) {
    TileServer tiles;
    if (c.status == 0) {
      tiles.stall(light_path(key));
    } else {
      tiles.set(light_path(key), c.status, c.body);
    }
    const TempDir cache;
    TileStore store = new_tile_store(cache.path(), c.unreachable ? gone_host : tiles.host(),
                                     TileWorkerSettings{std::chrono::milliseconds(300), 2});
    request_tile(store, key);
    ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); })) << c.what;
    ASSERT_TRUE(store.last_failure.has_value()) << c.what;
    EXPECT_EQ(store.last_failure->kind, c.kind) << c.what << ": " << store.last_failure->message;
    EXPECT_EQ(store.last_failure->http_status, c.http_status) << c.what;
    tiles.release();
  }
}

TEST_F(TileStoreIntegration, CorruptCachedFilesAreFetchedAgain) {
  const TileKey empty_file{4, 4, 6};
  const TileKey corrupt_file{5, 4, 6};
  const auto png = testing::solid_png(16, 16, 9, 9, 9);
  for (const TileKey& k : {empty_file, corrupt_file}) server.set(light_path(k), 200, png);
  testing::write_file(root() / "light" / tile_file_name(empty_file), {});
  testing::write_file(root() / "light" / tile_file_name(corrupt_file), {0x89, 'P', 'N', 'G', 0, 0});
  // A download of a region holding a broken file does not count it as present.
  const TileBox box{{-60, -90}, {-59, -89}};
  const auto region = region_tiles(box, 6, 6);
  ASSERT_EQ(region.size(), 1u);
  testing::write_file(root() / "light" / tile_file_name(region[0]), {1, 2, 3});
  server.set(light_path(region[0]), 200, png);
  TileStore store = open();
  request_tile(store, empty_file);
  ASSERT_EQ(enqueue_region_download(store, box, 6, 6), 1u);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store) && !download_in_progress(store); }));
  EXPECT_NE(loaded_tile(store, empty_file), nullptr);
  EXPECT_EQ(testing::read_file(root() / "light" / tile_file_name(empty_file)), png);
  EXPECT_EQ(store.download_failed, 0u);
  EXPECT_EQ(testing::read_file(root() / "light" / tile_file_name(region[0])), png);
}

TEST_F(TileStoreIntegration, RegionDownloadCountsDeletesAndClears) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const auto keys = region_tiles(box, 14, 15);
  ASSERT_GE(keys.size(), 3u);
  std::uint64_t expected_bytes = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i == 1) continue;  // this one is missing on the server
    const auto png = testing::solid_png(4 + static_cast<std::uint32_t>(i), 4, 1, 2, 3);
    expected_bytes += png.size();
    server.set(light_path(keys[i]), 200, png);
  }
  TileStore store = open();
  const std::uint32_t n = enqueue_region_download(store, box, 15, 14);
  EXPECT_EQ(n, keys.size());
  ASSERT_TRUE(pump_until(store, [&] { return !download_in_progress(store); }));
  EXPECT_EQ(store.download_total, n);
  EXPECT_EQ(store.download_done, n);
  EXPECT_EQ(store.download_failed, 1u);
  EXPECT_FALSE(fs::exists(root() / "light" / tile_file_name(keys[1])));
  EXPECT_EQ(tile_disk_usage(store), expected_bytes);

  // Deleting two tiles frees exactly their bytes; the missing one frees nothing.
  const auto size0 = fs::file_size(root() / "light" / tile_file_name(keys[0]));
  const auto size2 = fs::file_size(root() / "light" / tile_file_name(keys[2]));
  EXPECT_EQ(delete_region_tiles(store, {keys[0], keys[1], keys[2]}), size0 + size2);
  EXPECT_EQ(tile_disk_usage(store), expected_bytes - size0 - size2);

  // Clearing removes both styles.
  testing::write_file(root() / "dark/1/1/1.png", std::vector<std::uint8_t>(10, 0));
  EXPECT_EQ(clear_tile_cache(store), expected_bytes - size0 - size2 + 10);
  EXPECT_EQ(tile_disk_usage(store), 0u);
  EXPECT_EQ(store.download_total, 0u);
}

TEST_F(TileStoreIntegration, ClearingTheCacheStopsTheRunningDownload) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const auto keys = region_tiles(box, 14, 16);
  ASSERT_GE(keys.size(), 10u);
  for (const TileKey& k : keys) server.set(light_path(k), 200, testing::solid_png(4, 4, 1, 1, 1));
  server.hold();
  TileStore store = open();
  enqueue_region_download(store, box, 14, 16);
  // Every transfer a download may take is on its way.
  const int running = static_cast<int>(kMaxTileTransfers - kTransfersKeptForScreen);
  ASSERT_TRUE(server.wait_for_hits(running));
  clear_tile_cache(store);
  server.release();
  // The abandoned region must not refill the cache: nothing beyond the tiles already on their
  // way is asked for, and those are not written.
  for (int i = 0; i < 100 && server.total_hits() <= running; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.total_hits(), running);
  EXPECT_EQ(tile_disk_usage(store), 0u);
  EXPECT_FALSE(download_in_progress(store));
  EXPECT_TRUE(store.request.has_value());
}

// A download started while a deletion of the same tiles is on its way loses none of them: the
// worker removes the files first and the download then fetches them again.
TEST_F(TileStoreIntegration, ADownloadAfterADeletionKeepsEveryTileItNeeds) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const auto keys = region_tiles(box, 14, 16);
  ASSERT_GE(keys.size(), 10u);
  const auto png = testing::solid_png(4, 4, 9, 9, 9);
  for (const TileKey& k : keys) {
    server.set(light_path(k), 200, png);
    testing::write_file(root() / "light" / tile_file_name(k), png);
  }
  TileStore store = open();
  const std::uint64_t job = start_tile_delete(store, region_spans(box, 14, 16), {});
  EXPECT_EQ(enqueue_region_download(store, box, 14, 16), keys.size());
  ASSERT_TRUE(pump_until(store, [&] { return !download_in_progress(store) && !cache_jobs_running(store); }));
  const auto done = take_finished_cache_jobs(store);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].id, job);
  EXPECT_EQ(done[0].freed, keys.size() * png.size());
  EXPECT_EQ(store.download_done, keys.size());
  EXPECT_EQ(store.download_failed, 0u);
  for (const TileKey& k : keys) EXPECT_TRUE(fs::exists(root() / "light" / tile_file_name(k)));
  EXPECT_EQ(server.total_hits(), static_cast<int>(keys.size()));
}

// An area downloaded in the light style and deleted while the dark one shows leaves nothing of
// it on disk, in either style, and says what that freed.
TEST_F(TileStoreIntegration, DeletingAnAreaRemovesItsTilesOfEveryStyle) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const auto keys = region_tiles(box, 14, 14);
  const std::vector<std::uint8_t> light_png(7, 1), dark_png(5, 2);
  for (const TileKey& k : keys) {
    testing::write_file(root() / "light" / tile_file_name(k), light_png);
    testing::write_file(root() / "dark" / tile_file_name(k), dark_png);
  }
  TileStore store = open();
  set_tile_style(store, true);
  start_tile_delete(store, region_spans(box, 14, 14), {});
  ASSERT_TRUE(pump_until(store, [&] { return !cache_jobs_running(store); }));
  const auto done = take_finished_cache_jobs(store);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0].freed, keys.size() * (light_png.size() + dark_png.size()));
  EXPECT_EQ(done[0].usage, 0u);
  // The same on the window's thread.
  for (const TileKey& k : keys) testing::write_file(root() / "light" / tile_file_name(k), light_png);
  EXPECT_EQ(delete_region_tiles(store, keys), keys.size() * light_png.size());
  EXPECT_EQ(tile_disk_usage(store), 0u);
}

// Deleting the area being downloaded ends the download: the tiles on their way are not written
// and the rest are not asked for, so nothing of the area is left on disk.
TEST_F(TileStoreIntegration, DeletingTheAreaBeingDownloadedEndsTheDownload) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const TileBox other{{48.10, 11.50}, {48.11, 11.51}};
  const auto keys = region_tiles(box, 14, 16);
  for (const TileKey& k : keys) server.set(light_path(k), 200, testing::solid_png(4, 4, 1, 1, 1));
  const TileKey kept = region_tiles(other, 14, 14).front();
  testing::write_file(root() / "light" / tile_file_name(kept), {1, 2, 3});
  TileStore store = open();
  server.hold();
  enqueue_region_download(store, box, 14, 16);
  const int running = static_cast<int>(kMaxTileTransfers - kTransfersKeptForScreen);
  ASSERT_TRUE(server.wait_for_hits(running));
  start_tile_delete(store, region_spans(box, 14, 16), region_spans(other, 14, 14));
  EXPECT_FALSE(download_in_progress(store));
  server.release();
  ASSERT_TRUE(pump_until(store, [&] { return !cache_jobs_running(store); }));
  for (int i = 0; i < 100 && server.total_hits() <= running; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(server.total_hits(), running);
  EXPECT_EQ(take_finished_cache_jobs(store).at(0).usage, 3u);
  // The transfers that were on their way have ended unwritten.
  start_disk_measure(store);
  ASSERT_TRUE(pump_until(store, [&] { return !cache_jobs_running(store); }));
  EXPECT_EQ(take_finished_cache_jobs(store).at(0).usage, 3u);
}

TEST_F(TileStoreIntegration, StyleSwitchRestartsTheWorkerForTheOtherStyle) {
  server.set("/dark_nolabels/14/8718/5685.png", 200, testing::solid_png(8, 8, 5, 5, 5));
  server.set(light_path(kKey), 200, testing::solid_png(8, 8, 250, 250, 250));
  TileStore store = open();
  request_tile(store, kKey);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  ASSERT_NE(loaded_tile(store, kKey), nullptr);

  set_tile_style(store, true);
  EXPECT_TRUE(store.decoded.empty());
  EXPECT_EQ(store.style_dir, root() / "dark");
  ASSERT_TRUE(store.request.has_value());
  set_tile_style(store, true);  // no change: the same worker stays

  request_tile(store, kKey);
  ASSERT_TRUE(pump_until(store, [&] { return !tiles_in_flight(store); }));
  const zarn_ui::Image* image = loaded_tile(store, kKey);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixel_rgba8(0, 0)[0], 5);
  EXPECT_TRUE(fs::exists(root() / "dark/14/8718/5685.png"));
  EXPECT_EQ(server.hits("/dark_nolabels/14/8718/5685.png"), 1);
}

TEST_F(TileStoreIntegration, DownloadInterruptedByAStyleSwitchStillCompletes) {
  const TileBox box{{48.13, 11.57}, {48.15, 11.60}};
  const auto keys = region_tiles(box, 13, 14);
  for (const TileKey& k : keys) {
    server.set(fmt::format("/dark_nolabels/{}/{}/{}.png", k.z, k.x, k.y), 200, testing::solid_png(4, 4, 1, 1, 1));
  }
  TileStore store = open();
  const std::uint32_t n = enqueue_region_download(store, box, 13, 14);
  set_tile_style(store, true);  // before the light worker got far
  ASSERT_TRUE(pump_until(store, [&] { return !download_in_progress(store); }));
  EXPECT_EQ(store.download_done, n);
  for (const TileKey& k : keys) {
    const bool light = fs::exists(root() / "light" / tile_file_name(k));
    const bool dark = fs::exists(root() / "dark" / tile_file_name(k));
    EXPECT_TRUE(dark || !light);  // whatever the old worker did not finish, the new one did
  }
  EXPECT_EQ(store.download_failed,
            static_cast<std::uint32_t>(std::count_if(keys.begin(), keys.end(), [&](const TileKey& k) {
              return !fs::exists(root() / "dark" / tile_file_name(k));
            })));
}

int threads_named(const std::string& name) {
  int n = 0;
  for (const auto& task : fs::directory_iterator("/proc/self/task")) {
    std::string comm;
    std::ifstream(task.path() / "comm") >> comm;
    if (comm == name) ++n;
  }
  return n;
}

TEST_F(TileStoreIntegration, TheWorkerRunsOnANamedThread) {
  TileStore store = open();
  bool seen = false;
  for (int i = 0; i < 400 && !seen; ++i) {
    seen = threads_named("maps-tiles") >= 1;
    if (!seen) std::this_thread::sleep_for(5ms);
  }
  EXPECT_TRUE(seen);
}

// The worker waits on a transfer that never moves without waking now and then; letting go of
// the store still ends it at once (the closed request channel wakes it).
TEST_F(TileStoreIntegration, AWorkerWaitingOnAStalledTransferEndsWithTheStore) {
  server.set(light_path(kKey), 200, testing::solid_png(4, 4, 1, 2, 3));
  server.stall(light_path(kKey));
  {
    TileStore store = open();
    request_tile(store, kKey);
    ASSERT_TRUE(server.wait_for_hits(1));
    EXPECT_EQ(threads_named("maps-tiles"), 1);
  }
  int left = 1;
  for (int i = 0; i < 400 && left > 0; ++i) {  // far below the worker's longest wait
    left = threads_named("maps-tiles");
    if (left > 0) std::this_thread::sleep_for(5ms);
  }
  EXPECT_EQ(left, 0);
}

}  // namespace
}  // namespace maps

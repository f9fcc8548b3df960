// Deleting an area and clearing the cache on a real folder, and demonstration states that keep
// away from the user's cache.

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "../tiles/temp_dir.hpp"
#include "base/scoped_env.hpp"
#include "offline_panel/offline_area.hpp"
#include "panel_fixture.hpp"
#include "tiles/tile_disk.hpp"
#include "tiles/tile_worker.hpp"
#include "transitions/commit.hpp"
#include "zarn_ui/format.hpp"

namespace maps {
namespace {

using namespace maps::testing;
namespace fs = std::filesystem;

constexpr std::size_t kTileBytes = 100;

DownloadedRegion region(std::string id, std::string name, LatLon min, LatLon max) {
  return {std::move(id), std::move(name), min, max, 12, 13, 0};
}

const DownloadedRegion kWest = region("a", "West", {48.10, 11.50}, {48.12, 11.56});
const DownloadedRegion kEast = region("b", "East", {48.11, 11.55}, {48.13, 11.60});

MapModel model_with_regions() {
  MapModel m = default_map_model();
  m.regions = {kWest, kEast};
  return m;
}

void write_tiles(const fs::path& dir, const DownloadedRegion& r) {
  for (const TileKey& key : area_tiles(r)) write_file(dir / tile_file_name(key), std::vector<std::uint8_t>(kTileBytes));
}

// Two overlapping regions in the document and on disk.
struct DiskFixture {
  TempDir dir;
  PanelFixture f{build_maps_app(model_with_regions(), VectorMap{}, new_offline_tile_store(dir.path()), false, false)};

  DiskFixture() {
    write_tiles(dir.path(), kWest);
    write_tiles(dir.path(), kEast);
  }
  bool on_disk(const TileKey& key) const { return fs::exists(dir.path() / tile_file_name(key)); }
};

TEST(OfflineDisk, DeletingAnAreaFreesOnlyTheTilesNoOtherAreaNeeds) {
  DiskFixture d;
  ASSERT_EQ(d.f.app->model.regions.size(), 2u);
  const auto west = area_tiles(kWest), east = area_tiles(kEast);
  std::vector<TileKey> shared, own;
  for (const TileKey& k : west) {
    (std::find(east.begin(), east.end(), k) != east.end() ? shared : own).push_back(k);
  }
  ASSERT_FALSE(shared.empty());
  ASSERT_FALSE(own.empty());

  offline_panel_action(*d.f.app, {OfflineCommand::DeleteRegion{"a"}}, d.f.state);
  for (const TileKey& k : own) EXPECT_FALSE(d.on_disk(k));
  for (const TileKey& k : shared) EXPECT_TRUE(d.on_disk(k));
  for (const TileKey& k : east) EXPECT_TRUE(d.on_disk(k));
  ASSERT_EQ(d.f.app->model.regions.size(), 1u);
  EXPECT_EQ(d.f.app->model.regions[0].id, "b");
  EXPECT_EQ(d.f.app->model.status,
            "Removed \u201cWest\u201d \u00b7 " + zarn_ui::format::bytes(own.size() * kTileBytes) + " freed");
  EXPECT_EQ(d.f.panel().disk_usage(), east.size() * kTileBytes);

  // An area whose tiles all belong to the other one too frees nothing and still goes.
  write_tiles(d.dir.path(), kWest);
  DownloadedRegion inner = region("c", "Inner", {48.115, 11.56}, {48.12, 11.58});
  commit_action(d.f.app->model, d.f.app->transient, d.f.app->commits, d.f.state,
                MapsAction{MapsAction::AddRegion{inner}});
  offline_panel_action(*d.f.app, {OfflineCommand::DeleteRegion{"c"}}, d.f.state);
  EXPECT_EQ(d.f.app->model.status, "Removed \u201cInner\u201d \u00b7 " + zarn_ui::format::bytes(0) + " freed");
  EXPECT_EQ(d.f.app->model.regions.size(), 1u);
}

TEST(OfflineDisk, ClearingTheCacheEmptiesTheFolderAndTheRegions) {
  DiskFixture d;
  const std::uint64_t before = tile_disk_usage(d.f.app->backend.tiles);
  ASSERT_GT(before, 0u);
  offline_panel_action(*d.f.app, {OfflineCommand::ClearCache{}}, d.f.state);
  EXPECT_EQ(tile_disk_usage(d.f.app->backend.tiles), 0u);
  EXPECT_TRUE(d.f.app->model.regions.empty());
  EXPECT_EQ(d.f.panel().disk_usage(), 0u);
  EXPECT_EQ(d.f.app->model.status, "Cleared " + zarn_ui::format::bytes(before) + " of offline tiles");
}

// The store's worker, started by hand so the test sees the state before it has done anything.
struct HeldWorker {
  base::Receiver<TileRequest> requests;
  base::Sender<TileResult> results;
  std::thread thread;

  explicit HeldWorker(TileStore& store) {
    auto [req_tx, req_rx] = base::channel<TileRequest>();
    auto [res_tx, res_rx] = base::channel<TileResult>();
    store.request = std::move(req_tx);
    store.result = std::move(res_rx);
    requests = std::move(req_rx);
    results = std::move(res_tx);
  }
  // The worker serves from disk only; it ends once the store is gone.
  void start(const fs::path& dir) {
    thread = std::thread([this, dir] {
      std::optional<TileHttpClient> no_client;
      tile_worker_loop(requests, results, dir, "http://127.0.0.1:9", no_client);
    });
  }
};

// Deleting an area of many thousand tiles: the area leaves the list and the press returns before
// a single file is touched; the worker removes them and the status tells what it freed.
TEST(OfflineDisk, DeletingABigAreaReturnsAtOnceAndReportsWhenTheWorkerIsDone) {
  const DownloadedRegion big{"big", "Big", {48.10, 11.50}, {48.16, 11.62}, 12, 18, 0};
  const DownloadedRegion small{"small", "Small", {48.13, 11.55}, {48.14, 11.57}, 12, 18, 0};
  const std::vector<TileKey> big_tiles = area_tiles(big), small_tiles = area_tiles(small);
  ASSERT_GT(big_tiles.size(), 5000u);
  TempDir dir;
  write_tiles(dir.path(), big);
  MapModel model = default_map_model();
  model.regions = {big, small};
  TileStore store = new_offline_tile_store(dir.path());
  HeldWorker worker(store);
  auto f = std::make_unique<PanelFixture>(build_maps_app(model, VectorMap{}, std::move(store), false, false));

  const std::string status_before = f->app->model.status;
  offline_panel_action(*f->app, {OfflineCommand::DeleteRegion{"big"}}, f->state);
  ASSERT_EQ(f->app->model.regions.size(), 1u);
  EXPECT_EQ(f->app->model.regions[0].id, "small");
  EXPECT_EQ(f->app->model.status, status_before);
  for (const TileKey& k : big_tiles) ASSERT_TRUE(fs::exists(dir.path() / tile_file_name(k)));
  // The window loop sleeps until the worker's answer wakes it.
  EXPECT_TRUE(f->app->has_pending_work());
  f->tick_once();
  EXPECT_EQ(f->app->model.status, status_before);

  worker.start(dir.path());
  const std::size_t freed = (big_tiles.size() - small_tiles.size()) * kTileBytes;
  const std::string removed = "Removed \u201cBig\u201d \u00b7 " + zarn_ui::format::bytes(freed) + " freed";
  for (int i = 0; i < 2000 && f->app->model.status != removed; ++i) {
    std::this_thread::sleep_for(5ms);
    f->tick_once();
  }
  EXPECT_EQ(f->app->model.status, removed);
  EXPECT_EQ(f->panel().disk_usage(), small_tiles.size() * kTileBytes);
  EXPECT_FALSE(f->app->has_pending_work());
  for (const TileKey& k : small_tiles) EXPECT_TRUE(fs::exists(dir.path() / tile_file_name(k)));
  std::size_t left = 0;
  for (const TileKey& k : big_tiles) left += fs::exists(dir.path() / tile_file_name(k)) ? 1 : 0;
  EXPECT_EQ(left, small_tiles.size());
  f.reset();  // the store goes, and with it the worker
  worker.thread.join();
}

// Opening the panel walks no folder on the window's thread: it shows the last figure, and the
// worker's measure of the cache follows.
TEST(OfflineDisk, OpeningThePanelShowsTheWorkersMeasureWhenItComes) {
  const DownloadedRegion area{"a", "Area", {48.13, 11.55}, {48.14, 11.57}, 12, 16, 0};
  TempDir dir;
  write_tiles(dir.path(), area);
  TileStore store = new_offline_tile_store(dir.path());
  HeldWorker worker(store);
  auto f =
      std::make_unique<PanelFixture>(build_maps_app(default_map_model(), VectorMap{}, std::move(store), false, false));
  f->event(key_text("m"));
  ASSERT_TRUE(f->panel().is_open());
  EXPECT_EQ(f->panel().disk_usage(), 0u);
  EXPECT_TRUE(f->app->has_pending_work());

  worker.start(dir.path());
  const std::uint64_t on_disk = area_tiles(area).size() * kTileBytes;
  for (int i = 0; i < 2000 && f->panel().disk_usage() != on_disk; ++i) {
    std::this_thread::sleep_for(5ms);
    f->tick_once();
  }
  EXPECT_EQ(f->panel().disk_usage(), on_disk);
  f.reset();
  worker.thread.join();
}

// A demonstration window's "Clear all" and delete buttons must leave the user's cache alone.
TEST(OfflineDisk, DemonstrationStatesNeverTouchTheUsersCache) {
  TempDir cache;
  base::ScopedEnv env("XDG_CACHE_HOME", cache.path().string());
  const fs::path user_tile = tile_cache_root() / "light" / tile_file_name(area_tiles(kWest).front());
  write_file(user_tile, std::vector<std::uint8_t>(kTileBytes));
  ASSERT_GT(tile_disk_usage(new_tile_store(tile_cache_root())), 0u);

  for (auto make : {&new_sample_app, &new_empty_app}) {
    PanelFixture f{make()};
    EXPECT_EQ(f.panel().disk_usage(), 0u);
    f.event(key_text("m"));
    EXPECT_EQ(f.panel().disk_usage(), 0u);
    commit_action(f.app->model, f.app->transient, f.app->commits, f.state, MapsAction{MapsAction::AddRegion{kWest}});
    offline_panel_action(*f.app, {OfflineCommand::DeleteRegion{"a"}}, f.state);
    EXPECT_EQ(f.app->model.status, "Removed \u201cWest\u201d \u00b7 " + zarn_ui::format::bytes(0) + " freed");
    offline_panel_action(*f.app, {OfflineCommand::ClearCache{}}, f.state);
    EXPECT_EQ(f.app->model.status, "Cleared " + zarn_ui::format::bytes(0) + " of offline tiles");
    EXPECT_TRUE(fs::exists(user_tile));
  }
}

}  // namespace
}  // namespace maps

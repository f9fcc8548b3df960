// Offline areas end to end against a tile server and a geocoder on 127.0.0.1: an area searched
// for and the current view are downloaded with progress, listed with their tile counts and the
// cache size, drawn from disk with the server gone, deleted one at a time (a tile the other area
// needs stays) and cleared.

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include <fmt/format.h>

#include "../net/fake_service.hpp"
#include "../tiles/temp_dir.hpp"
#include "format/units.hpp"
#include "geo/screen_view.hpp"
#include "offline_panel/offline_area.hpp"
#include "panel_fixture.hpp"
#include "tiles/tile_disk.hpp"
#include "zarn_ui/format.hpp"
#include "zarn_ui/offscreen.hpp"

namespace maps {
namespace {

using namespace maps::testing;
namespace fs = std::filesystem;

std::string solid_png() {
  auto r = zarn_ui::offscreen::OffscreenRenderer::create(256, 256);
  zarn_ui::Scene s;
  s.fill(zarn_ui::Rect{0, 0, 256, 256}, zarn_ui::Color::from_rgba8(40, 160, 90));
  const auto png = r->encode_png(r->render_resilient(s));
  return std::string(png->begin(), png->end());
}

// Serves one PNG for every tile path. Once `limit` replies have gone out, further requests wait
// until `release`, so that a download can be watched half way.
class GatedTileServer {
 public:
  GatedTileServer() : png_(solid_png()) {
    server_.Get(R"(/(\w+)/(\d+)/(\d+)/(\d+)\.png)", [this](const httplib::Request&, httplib::Response& res) {
      std::unique_lock lock(mu_);
      gate_.wait_for(lock, std::chrono::seconds(10), [&] { return released_ || served_ < limit_; });
      ++served_;
      lock.unlock();
      res.set_content(png_, "image/png");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ~GatedTileServer() { stop(); }
  void stop() {
    release();
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }
  std::string host() const { return "http://127.0.0.1:" + std::to_string(port_); }
  // Lets `n` more replies out, then holds the rest.
  void hold_after(int n) {
    std::lock_guard lock(mu_);
    released_ = false;
    limit_ = served_ + n;
  }
  void release() {
    {
      std::lock_guard lock(mu_);
      released_ = true;
    }
    gate_.notify_all();
  }
  int served() {
    std::lock_guard lock(mu_);
    return served_;
  }

 private:
  httplib::Server server_;
  std::string png_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mu_;
  std::condition_variable gate_;
  int served_ = 0;
  int limit_ = 1 << 30;
  bool released_ = true;
};

constexpr const char* kGeocoderReply = R"([{"lat":"48.1372","lon":"11.5755","name":"Marienplatz",
  "display_name":"Marienplatz, Altstadt, M\u00fcnchen","class":"place","type":"square","osm_type":"node","osm_id":7,
  "boundingbox":["48.1362","48.1382","11.5735","11.5775"]}])";

ServiceHosts hosts_at(const std::string& host) {
  ServiceHosts h;
  h.nominatim = h.overpass = h.osrm = h.motis = host;
  return h;
}

std::unique_ptr<MapsApp> live_app(const fs::path& root, const std::string& tile_host) {
  auto app = build_maps_app(default_map_model(), VectorMap{}, new_tile_store(root, tile_host), false, true);
  app->model.center = {48.1372, 11.5755};
  app->model.zoom = 16.0;
  // The view's points of interest are not part of this story.
  app->backend.view_pois.box = GeoBox{-90, -180, 90, 180};
  return app;
}

struct OfflineE2E : ::testing::Test {
  TempDir root;
  GatedTileServer tiles;
  FakeService geocoder;
  std::unique_ptr<PanelFixture> f;

  void SetUp() override {
    geocoder.reply("/search", kGeocoderReply);
    f = std::make_unique<PanelFixture>(live_app(root.path(), tiles.host()));
    f->app->backend.job_spawner =
        std::make_unique<ThreadJobSpawner>(hosts_at(geocoder.host()), f->app->backend.result_sender);
  }
  // Ticks (and paints) until `done` holds; false after ten seconds.
  template <class Pred>
  bool tick_until(Pred done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
      f->app->tick(f->state);
      f->paint();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  fs::path tile_path(const TileKey& k) const { return root.path() / "light" / tile_file_name(k); }
  const DownloadedRegion* region_named(const std::string& name) const {
    for (const DownloadedRegion& r : f->app->model.regions) {
      if (r.name == name) return &r;
    }
    return nullptr;
  }
  // Presses Download and watches the download: held after a few tiles, then let through.
  std::uint32_t download_watching_progress() {
    TileStore& store = f->app->backend.tiles;
    // The screen's own tiles first, and the ring around the view fetched ahead.
    EXPECT_TRUE(tick_until([&] { return !tiles_in_flight(store) && !prefetches_in_flight(store); }));
    tiles.hold_after(3);
    f->paint();
    f->click(*f->hit_centre({OfflineCommand::Download{}}));
    const std::uint32_t total = store.download_total;
    EXPECT_EQ(f->app->backend.status.kind, StatusKind::Downloading);
    const std::string downloading = f->app->model.status;
    // Half way, held by the server: the panel shows how far it got.
    EXPECT_TRUE(tick_until([&] { return store.download_done >= 3; }));
    for (int i = 0; i < 30; ++i) {
      f->app->tick(f->state);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::uint32_t half = store.download_done;
    EXPECT_LT(half, total);
    EXPECT_TRUE(contains_text(f->paint(), fmt::format("Downloading {}/{} tiles\u2026", half, total)));
    // A job that ends now leaves the download's status alone.
    ++f->app->backend.pending_jobs;
    f->app->backend.result_sender.send(worker::ReverseGeocode{base::err("no address")});
    f->app->tick(f->state);
    EXPECT_EQ(f->app->backend.pending_jobs, 0u);
    EXPECT_EQ(f->app->model.status, downloading);
    tiles.release();
    EXPECT_TRUE(tick_until([&] { return store.download_done == store.download_total; }));
    EXPECT_EQ(store.download_failed, 0u);
    EXPECT_EQ(f->app->model.status, fmt::format("Offline area ready ({} tiles)", total));
    EXPECT_TRUE(contains_text(f->paint(), fmt::format("Downloaded {} tiles", total)));
    return total;
  }
};

TEST_F(OfflineE2E, SearchDownloadListDrawOfflineDeleteAndClear) {
  // 1. The area search: typed, paused, answered by the geocoder, picked from the list.
  f->event(key_text("m"));
  f->paint();
  f->type("Marien");
  f->clock += 280ms;
  ASSERT_TRUE(tick_until([&] { return !f->panel().candidates().empty(); }));
  ASSERT_TRUE(f->panel().area_input().dropdown_visible());
  const zarn_ui::Rect list = *f->panel().area_input().dropdown_rect();
  f->click({list.center().x, list.y0 + 10});
  ASSERT_TRUE(f->panel().chosen_area().has_value());
  EXPECT_EQ(f->panel().chosen_area()->name, "Marienplatz");

  // 2. The searched area, then the current view moved half off it, each with progress.
  const std::uint32_t searched_tiles = download_watching_progress();
  const DownloadedRegion searched = *region_named("Marienplatz");
  EXPECT_EQ(searched.tiles, searched_tiles);
  for (const TileKey& k : area_tiles(searched)) EXPECT_TRUE(fs::exists(tile_path(k))) << k.z << "/" << k.x;

  f->type("x");  // drops the chosen area: the next download is the view
  ASSERT_FALSE(f->panel().chosen_area().has_value());
  // The view west of the area and closer in, over zooms 18 and 19: it covers the area's west part.
  f->app->model.center = {48.1372, 11.5720};
  f->app->model.zoom = 18.0;
  f->paint();
  f->click(*f->hit_centre({OfflineCommand::Zoom{-1}}));
  EXPECT_EQ(f->panel().download_detail(), 1);
  const std::uint32_t view_tiles = download_watching_progress();
  ASSERT_EQ(f->app->model.regions.size(), 2u);
  const DownloadedRegion* view = nullptr;
  for (const DownloadedRegion& r : f->app->model.regions) {
    if (r.id != searched.id) view = &r;
  }
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->tiles, view_tiles);

  // 3. Listed with zoom range and tile count beside the cache size, once the worker measured it.
  ASSERT_TRUE(tick_until([&] { return !cache_jobs_running(f->app->backend.tiles); }));
  const auto texts = f->paint();
  const std::uint64_t on_disk = tile_disk_usage(f->app->backend.tiles);
  EXPECT_GT(on_disk, 0u);
  EXPECT_EQ(f->panel().disk_usage(), on_disk);
  EXPECT_TRUE(contains_text(texts, "Cached on disk: " + format_bytes(on_disk)));
  EXPECT_TRUE(
      contains_text(texts, fmt::format("z{}\u2013z{} \u00b7 {} tiles", searched.z0, searched.z1, searched.tiles)));

  // 4. Drawn with the server gone: a fresh window on the same cache, over the searched area at its
  // first zoom, loads the area's tiles from disk and draws them.
  tiles.stop();
  {
    PanelFixture offline(live_app(root.path(), "http://127.0.0.1:" + std::to_string(closed_port())));
    offline.app->model.center = {48.1372, 11.5755};
    offline.app->model.zoom = searched.z0;
    std::vector<TileKey> want;
    for (const TileKey& k : area_tiles(searched)) {
      if (k.z == searched.z0) want.push_back(k);
    }
    ASSERT_FALSE(want.empty());
    auto all_loaded = [&] {
      for (const TileKey& k : want) {
        if (!offline.app->backend.tiles.decoded.contains(k)) return false;
      }
      return true;
    };
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!all_loaded() && std::chrono::steady_clock::now() < until) {
      offline.app->tick(offline.state);
      offline.paint();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(all_loaded());
    offline.paint();
    EXPECT_GE(offline.images_drawn, want.size());
  }

  // 5. Deleting the searched area frees only its own tiles; those under the view stay.
  std::vector<TileKey> shared, own;
  const std::vector<TileKey> view_keys = area_tiles(*view);
  for (const TileKey& k : area_tiles(searched)) {
    (std::find(view_keys.begin(), view_keys.end(), k) != view_keys.end() ? shared : own).push_back(k);
  }
  ASSERT_FALSE(shared.empty());
  ASSERT_FALSE(own.empty());
  std::uint64_t own_bytes = 0;
  for (const TileKey& k : own) own_bytes += fs::file_size(tile_path(k));
  f->paint();
  f->click(*f->hit_centre({OfflineCommand::DeleteRegion{searched.id}}));
  // The area leaves the list at once; the status waits for the worker's answer.
  ASSERT_EQ(f->app->model.regions.size(), 1u);
  const std::string removed = "Removed \u201cMarienplatz\u201d \u00b7 " + zarn_ui::format::bytes(own_bytes) + " freed";
  EXPECT_NE(f->app->model.status, removed);
  // The panel tells of the deletion, not of the download finished before it.
  for (const std::string& t : f->paint()) EXPECT_FALSE(t.rfind("Downloaded ", 0) == 0 && t.ends_with(" tiles")) << t;
  EXPECT_TRUE(contains_text(f->paint(), "Removing \u201cMarienplatz\u201d\u2026"));
  ASSERT_TRUE(tick_until([&] { return f->app->model.status == removed; }));
  EXPECT_TRUE(contains_text(f->paint(), removed));
  for (const TileKey& k : own) EXPECT_FALSE(fs::exists(tile_path(k)));
  for (const TileKey& k : shared) EXPECT_TRUE(fs::exists(tile_path(k)));
  EXPECT_EQ(f->panel().disk_usage(), tile_disk_usage(f->app->backend.tiles));

  // 6. Clear all.
  const std::uint64_t before = tile_disk_usage(f->app->backend.tiles);
  f->paint();
  f->click(*f->hit_centre({OfflineCommand::ClearCache{}}));
  EXPECT_TRUE(f->app->model.regions.empty());
  EXPECT_TRUE(contains_text(f->paint(), "No saved areas yet"));
  const std::string cleared = "Cleared " + zarn_ui::format::bytes(before) + " of offline tiles";
  ASSERT_TRUE(tick_until([&] { return f->app->model.status == cleared; }));
  EXPECT_EQ(tile_disk_usage(f->app->backend.tiles), 0u);
  EXPECT_EQ(f->panel().disk_usage(), 0u);
  EXPECT_TRUE(contains_text(f->paint(), "Cached on disk: " + format_bytes(0)));
  EXPECT_TRUE(contains_text(f->paint(), cleared));
}

}  // namespace
}  // namespace maps

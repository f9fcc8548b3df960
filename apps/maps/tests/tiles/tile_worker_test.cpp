#include "tiles/tile_worker.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "png_fixture.hpp"
#include "temp_dir.hpp"
#include "tiles/tile_cache_job.hpp"
#include "tiles/tile_disk.hpp"

namespace maps {
namespace {

using testing::TempDir;
using testing::write_file;

std::string describe(const TileResult& r) {
  if (auto* l = std::get_if<TileLoaded>(&r)) return "loaded " + std::to_string(l->key.x);
  if (auto* f = std::get_if<TileFailed>(&r)) return "failed " + std::to_string(f->key.x);
  if (auto* c = std::get_if<TileCacheDone>(&r)) {
    return "job " + std::to_string(c->id) + " freed " + std::to_string(c->freed) + " leaves " +
           (c->usage ? std::to_string(*c->usage) : std::string("unmeasured"));
  }
  const auto& d = std::get<TileDownloaded>(r);
  return std::string(d.ok ? "downloaded " : "missing ") + std::to_string(d.key.x);
}

// Without a client only the disk serves; the queue order shows the screen's tiles first.
TEST(TileWorkerLoop, ScreenTilesGoFirstAndOnlyGoodFilesCount) {
  TempDir dir;
  const auto png = testing::solid_png(4, 4, 200, 100, 50);
  for (std::uint32_t x : {1u, 2u, 3u, 4u}) write_file(dir.path() / tile_file_name({x, 0, 5}), png);
  write_file(dir.path() / tile_file_name({5, 0, 5}), {});                     // empty file
  write_file(dir.path() / tile_file_name({6, 0, 5}), {0x89, 'P', 'N', 'G'});  // corrupt

  auto [req_tx, req_rx] = base::channel<TileRequest>();
  auto [res_tx, res_rx] = base::channel<TileResult>();
  for (auto [kind, x] : std::vector<std::pair<TileRequestKind, std::uint32_t>>{{TileRequestKind::Download, 1},
                                                                               {TileRequestKind::Download, 6},
                                                                               {TileRequestKind::Display, 2},
                                                                               {TileRequestKind::Download, 7},
                                                                               {TileRequestKind::Display, 5},
                                                                               {TileRequestKind::Display, 3}}) {
    ASSERT_TRUE(req_tx.send({kind, TileKey{x, 0, 5}}));
  }
  { auto drop = std::move(req_tx); }  // closed: the loop ends once it has served everything

  std::optional<TileHttpClient> no_client;
  tile_worker_loop(req_rx, res_tx, dir.path(), "http://127.0.0.1:9", no_client);

  std::vector<std::string> got;
  std::optional<zarn_ui::Image> image;
  for (auto r = res_rx.try_recv(); r.has_value(); r = res_rx.try_recv()) {
    if (auto* l = std::get_if<TileLoaded>(&*r.value)) image = l->image;
    got.push_back(describe(*r.value));
  }
  EXPECT_EQ(got,
            (std::vector<std::string>{"loaded 2", "failed 5", "loaded 3", "downloaded 1", "missing 6", "missing 7"}));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width(), 4u);
  EXPECT_NE(image->cairo_surface(), nullptr);  // ready to draw, built off the UI thread
  EXPECT_EQ(image->pixel_rgba8(0, 0), (std::array<std::uint8_t, 4>{200, 100, 50, 255}));
}

std::vector<std::string> run_worker(base::Receiver<TileRequest>& requests, const base::Sender<TileResult>& results,
                                    base::Receiver<TileResult>& answers, const std::filesystem::path& dir) {
  std::optional<TileHttpClient> no_client;
  tile_worker_loop(requests, results, dir, "http://127.0.0.1:9", no_client);
  std::vector<std::string> got;
  for (auto r = answers.try_recv(); r.has_value(); r = answers.try_recv()) got.push_back(describe(*r.value));
  return got;
}

std::shared_ptr<const TileCacheJob> job_of(TileCacheJob job) { return std::make_shared<const TileCacheJob>(job); }

// A deletion goes before the download tiles sent after it, which then find its files gone;
// queued download tiles it removes are dropped, those it keeps are still served.
TEST(TileWorkerLoop, ACacheJobComesBeforeTheDownloadsSentAfterIt) {
  TempDir dir;
  const auto png = testing::solid_png(4, 4, 10, 20, 30);
  for (std::uint32_t x : {1u, 2u, 3u, 4u}) write_file(dir.path() / tile_file_name({x, 0, 5}), png);
  TileCacheJob del;
  del.id = 7;
  del.kind = TileCacheJobKind::DeleteTiles;
  del.doomed = {TileSpan{5, 1, 3, 0, 0}};
  del.keep = {TileSpan{5, 3, 4, 0, 0}};
  del.tile_dirs = {dir.path()};
  del.cache_dir = dir.path();

  auto [req_tx, req_rx] = base::channel<TileRequest>();
  auto [res_tx, res_rx] = base::channel<TileResult>();
  ASSERT_TRUE(req_tx.send({TileRequestKind::Download, TileKey{1, 0, 5}}));  // removed by the job
  ASSERT_TRUE(req_tx.send({TileRequestKind::Download, TileKey{4, 0, 5}}));  // not in the job
  ASSERT_TRUE(req_tx.send(TileRequest{job_of(del)}));
  ASSERT_TRUE(req_tx.send({TileRequestKind::Download, TileKey{2, 0, 5}}));  // its file is gone by now
  ASSERT_TRUE(req_tx.send({TileRequestKind::Download, TileKey{3, 0, 5}}));  // kept
  ASSERT_TRUE(req_tx.send({TileRequestKind::Display, TileKey{4, 0, 5}}));
  { auto drop = std::move(req_tx); }

  const std::string freed = std::to_string(2 * png.size()), left = std::to_string(2 * png.size());
  EXPECT_EQ(run_worker(req_rx, res_tx, res_rx, dir.path()),
            (std::vector<std::string>{"loaded 4", "missing 1", "job 7 freed " + freed + " leaves " + left,
                                      "downloaded 4", "missing 2", "downloaded 3"}));
  for (std::uint32_t x : {1u, 2u}) EXPECT_FALSE(std::filesystem::exists(dir.path() / tile_file_name({x, 0, 5})));
  for (std::uint32_t x : {3u, 4u}) EXPECT_TRUE(std::filesystem::exists(dir.path() / tile_file_name({x, 0, 5})));
}

// Clearing forgets every download tile queued before it without answering (the store has ended
// that download), removes the folder and measures it empty; a measure only measures.
TEST(TileWorkerLoop, ClearForgetsQueuedDownloadsAndEmptiesTheFolder) {
  TempDir dir;
  const auto root = dir.path() / "tiles";
  write_file(root / "light" / tile_file_name({1, 0, 5}), std::vector<std::uint8_t>(40, 1));
  write_file(root / "dark" / tile_file_name({1, 0, 5}), std::vector<std::uint8_t>(2, 1));
  TileCacheJob measure;
  measure.id = 1;
  measure.cache_dir = root;
  TileCacheJob clear = measure;
  clear.id = 2;
  clear.kind = TileCacheJobKind::Clear;
  TileCacheJob again = measure;
  again.id = 3;

  auto [req_tx, req_rx] = base::channel<TileRequest>();
  auto [res_tx, res_rx] = base::channel<TileResult>();
  ASSERT_TRUE(req_tx.send(TileRequest{job_of(measure)}));
  ASSERT_TRUE(req_tx.send({TileRequestKind::Download, TileKey{1, 0, 5}}));
  ASSERT_TRUE(req_tx.send({TileRequestKind::Download, TileKey{2, 0, 5}}));
  ASSERT_TRUE(req_tx.send(TileRequest{job_of(clear)}));
  ASSERT_TRUE(req_tx.send(TileRequest{job_of(again)}));
  { auto drop = std::move(req_tx); }
  EXPECT_EQ(run_worker(req_rx, res_tx, res_rx, root / "light"),
            (std::vector<std::string>{"job 1 freed 0 leaves 42", "job 2 freed 42 leaves 0", "job 3 freed 0 leaves 0"}));
  EXPECT_FALSE(std::filesystem::exists(root));
}

// A deletion goes a slice at a time; kept and missing tiles are looked at but free nothing.
TEST(TileCacheRun, DeletesASliceAtATime) {
  TempDir dir;
  for (std::uint32_t x = 0; x < 3; ++x) {
    for (std::uint32_t y = 0; y < 2; ++y)
      write_file(dir.path() / tile_file_name({x, y, 9}), std::vector<std::uint8_t>(10));
  }
  write_file(dir.path() / "other.bin", std::vector<std::uint8_t>(5));
  TileCacheJob job;
  job.kind = TileCacheJobKind::DeleteTiles;
  job.doomed = {TileSpan{9, 0, 3, 0, 1}};  // column 3 has no files
  job.keep = {TileSpan{9, 2, 2, 1, 1}};
  job.tile_dirs = {dir.path()};
  job.cache_dir = dir.path();
  TileCacheRun run(job_of(job));
  // Eight tiles in slices of three; the measuring after them goes in slices too.
  EXPECT_FALSE(run.step(3));
  EXPECT_FALSE(run.step(3));
  EXPECT_FALSE(run.step(3));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / tile_file_name({2, 0, 9})));
  int measuring = 1;
  while (!run.step(3)) ++measuring;
  EXPECT_GT(measuring, 1);
  EXPECT_EQ(run.result().freed, 50u);
  EXPECT_EQ(run.result().usage, 15u);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / tile_file_name({2, 1, 9})));
}

// Measuring and clearing a cache of many files never takes the whole folder at once, and count
// what the whole walk counts.
TEST(TileCacheRun, MeasuresAndClearsASliceAtATime) {
  TempDir dir;
  const auto cache = dir.path() / "cache";
  for (std::uint32_t x = 0; x < 10; ++x) {
    for (std::uint32_t y = 0; y < 10; ++y) {
      write_file(cache / "light" / tile_file_name({x, y, 12}), std::vector<std::uint8_t>(x + y + 1));
    }
  }
  std::filesystem::create_symlink("/nonexistent-target", cache / "light" / "link");
  const std::uint64_t whole = dir_size_recursive(cache);
  for (const TileCacheJobKind kind : {TileCacheJobKind::Measure, TileCacheJobKind::Clear}) {
    TileCacheJob job;
    job.kind = kind;
    job.cache_dir = cache;
    TileCacheRun run(job_of(job));
    int slices = 1;
    while (!run.step(16)) ++slices;
    EXPECT_GE(slices, 7) << "100 files and their folders in slices of 16";
    if (kind == TileCacheJobKind::Measure) {
      EXPECT_EQ(run.result().usage, whole);
      EXPECT_EQ(run.result().freed, 0u);
    } else {
      EXPECT_EQ(run.result().freed, whole);
      EXPECT_EQ(run.result().usage, 0u);
      EXPECT_FALSE(std::filesystem::exists(cache));
    }
  }
}

TEST(TileWorkerLoop, EndsWhenTheStoreStopsListening) {
  TempDir dir;
  auto [req_tx, req_rx] = base::channel<TileRequest>();
  auto [res_tx, res_rx] = base::channel<TileResult>();
  ASSERT_TRUE(req_tx.send({TileRequestKind::Display, TileKey{1, 1, 1}}));
  { auto drop = std::move(res_rx); }
  // The sender stays open while the loop runs: only noticing that nobody listens can end it.
  auto loop = std::async(std::launch::async, [&] {
    std::optional<TileHttpClient> no_client;
    tile_worker_loop(req_rx, res_tx, dir.path(), "http://127.0.0.1:9", no_client);
  });
  const bool ended = loop.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  { auto close = std::move(req_tx); }  // lets a loop that missed it end, so the test ends either way
  loop.wait();
  EXPECT_TRUE(ended) << "the worker kept waiting for requests whose answers nobody takes";
}

}  // namespace
}  // namespace maps

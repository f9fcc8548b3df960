#include "tiles/tile_worker.hpp"

#include <gtest/gtest.h>

#include "png_fixture.hpp"
#include "temp_dir.hpp"
#include "tiles/tile_disk.hpp"

namespace maps {
namespace {

using testing::TempDir;
using testing::write_file;

std::string describe(const TileResult& r) {
  if (auto* l = std::get_if<TileLoaded>(&r)) return "loaded " + std::to_string(l->key.x);
  if (auto* f = std::get_if<TileFailed>(&r)) return "failed " + std::to_string(f->key.x);
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

TEST(TileWorkerLoop, EndsWhenTheStoreStopsListening) {
  TempDir dir;
  auto [req_tx, req_rx] = base::channel<TileRequest>();
  auto [res_tx, res_rx] = base::channel<TileResult>();
  ASSERT_TRUE(req_tx.send({TileRequestKind::Display, TileKey{1, 1, 1}}));
  { auto drop = std::move(res_rx); }
  std::optional<TileHttpClient> no_client;
  // The sender is still open: only the failed answer can end the loop.
  tile_worker_loop(req_rx, res_tx, dir.path(), "http://127.0.0.1:9", no_client);
  SUCCEED();
}

}  // namespace
}  // namespace maps

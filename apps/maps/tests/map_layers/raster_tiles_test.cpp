#include "map_layers/raster_tiles.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <variant>
#include <vector>

#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

namespace scene = zarn_ui::scene;
using zarn_ui::Affine;
using zarn_ui::Image;
using zarn_ui::Point;
using zarn_ui::Rect;
using zarn_ui::Scene;
using namespace std::chrono_literals;

Image tile_image() { return Image::from_rgba8(256, 256, std::vector<std::uint8_t>(256 * 256 * 4, 200)); }

// A store whose requests the test reads, with a clock it sets.
struct Fixture {
  TileStore store = new_offline_tile_store("/nonexistent");
  base::Receiver<TileRequest> requests;
  std::optional<base::Receiver<TileResult>> unused;
  TileClock::time_point now = TileClock::time_point(1000h);

  Fixture() {
    auto [tx, rx] = base::channel<TileRequest>();
    store.request = std::move(tx);
    requests = std::move(rx);
    store.now = [this] { return now; };
  }
  void load(const TileKey& key, const Image& image) {
    store.decoded[key] = image;
    store.lru.push_back(key);
  }
  std::vector<TileKey> requested() {
    std::vector<TileKey> out;
    for (auto r = requests.try_recv(); r.has_value(); r = requests.try_recv()) {
      EXPECT_EQ(r.value->kind, TileRequestKind::Display);
      out.push_back(r.value->key);
    }
    return out;
  }
};

const Rect kBounds{0, 0, 600, 400};
const LatLon kCenter{48.1371, 11.5754};
const MapPalette kPalette = map_palette(zarn_ui::theme::Theme::light());

std::vector<VisibleTile> tiles_at(double zoom) {
  return visible_tiles(kBounds.x0, kBounds.y0, kBounds.x1, kBounds.y1, kCenter.lat, kCenter.lon, zoom, 300, 200);
}

bool paint(Scene& s, Fixture& f, double zoom) {
  return paint_raster_tiles(s, Affine::identity(), kBounds, f.store, kCenter, zoom, kPalette, 300, 200);
}

template <class T>
std::vector<T> items_of(const Scene& s) {
  std::vector<T> out;
  for (const auto& it : s.items()) {
    if (const T* v = std::get_if<T>(&it)) out.push_back(*v);
  }
  return out;
}

// Where the brush puts the shape's corners in image pixels.
std::pair<Point, Point> image_span(const scene::DrawImage& d) {
  const Rect r = std::get<Rect>(d.shape);
  const Affine inv = *d.brush_transform.inverse();
  return {inv.apply({r.x0, r.y0}), inv.apply({r.x1, r.y1})};
}

void expect_near(Point a, Point b) {
  EXPECT_NEAR(a.x, b.x, 1e-9);
  EXPECT_NEAR(a.y, b.y, 1e-9);
}

// The city or the grid covers the bounds when no imagery is drawn: nothing is painted under them.
TEST(RasterTiles, NothingLoadedPaintsNothingAndRequestsEveryTileOnce) {
  Fixture f;
  Scene s;
  const auto tiles = tiles_at(14.4);
  ASSERT_FALSE(tiles.empty());
  EXPECT_FALSE(paint(s, f, 14.4));
  EXPECT_TRUE(s.empty());

  std::vector<TileKey> keys;
  for (const auto& t : tiles) keys.push_back(t.key);
  EXPECT_EQ(f.requested(), keys);

  // Pending now: the next frame asks again for nothing.
  Scene again;
  paint(again, f, 14.4);
  EXPECT_TRUE(f.requested().empty());
}

// Only the tiles under the view are decoded; once all of them are in, the ring around the view
// is fetched ahead into the disk cache, each tile asked for once.
TEST(RasterTiles, TheRingAroundTheViewIsFetchedAheadOnceTheViewIsComplete) {
  Fixture f;
  Scene s;
  paint(s, f, 14);
  (void)f.requested();  // the view's own tiles, while none is in
  for (const auto& t : tiles_at(14)) {
    f.store.pending.erase(t.key);
    f.load(t.key, tile_image());
  }
  Scene complete;
  paint(complete, f, 14);
  std::vector<TileKey> ahead;
  for (auto r = f.requests.try_recv(); r.has_value(); r = f.requests.try_recv()) {
    EXPECT_EQ(r.value->kind, TileRequestKind::Prefetch);
    ahead.push_back(r.value->key);
  }
  EXPECT_EQ(ahead,
            tiles_around_view(kBounds.x0, kBounds.y0, kBounds.x1, kBounds.y1, kCenter.lat, kCenter.lon, 14, 300, 200));
  Scene again;
  paint(again, f, 14);
  EXPECT_FALSE(f.requests.try_recv().has_value());
}

// Land is filled once over the bounds, under the images, in the clip of the bounds; a tile with
// no imagery shows it.
TEST(RasterTiles, ImageryLiesOverOneLandFillOfTheBounds) {
  Fixture f;
  const auto tiles = tiles_at(14.4);
  ASSERT_GE(tiles.size(), 2u);
  f.load(tiles[0].key, tile_image());
  Scene s;
  EXPECT_TRUE(paint(s, f, 14.4));
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(std::get<scene::PushLayer>(s.items()[0]).clip, zarn_ui::Shape(kBounds));
  const auto& land = std::get<scene::Fill>(s.items()[1]);
  EXPECT_EQ(land.shape, zarn_ui::Shape(kBounds));
  EXPECT_EQ(land.color, kPalette.land);
  EXPECT_TRUE(std::holds_alternative<scene::DrawImage>(s.items()[2]));
  EXPECT_TRUE(std::holds_alternative<scene::PopLayer>(s.items()[3]));
}

TEST(RasterTiles, BackingOffTilesAreNotAskedFor) {
  Fixture f;
  const auto tiles = tiles_at(14.4);
  f.store.failures[tiles[0].key] = {f.now + 1s, 2s};
  f.store.failures[tiles[1].key] = {f.now - 1s, 2s};
  Scene s;
  paint(s, f, 14.4);
  const auto asked = f.requested();
  EXPECT_EQ(asked.size(), tiles.size() - 1);
  EXPECT_EQ(asked.front(), tiles[1].key);
}

// A tile that could not be loaded is drawn hatched on a muted ground, never blank like one still
// loading; a loaded ancestor stands in for it where there is one.
TEST(RasterTiles, AFailedTileIsHatchedUnlessSomethingStandsInForIt) {
  Fixture f;
  const auto tiles = tiles_at(14.4);
  ASSERT_GE(tiles.size(), 3u);
  const Rect failed{tiles[0].x0, tiles[0].y0, tiles[0].x1, tiles[0].y1};
  f.store.failures[tiles[0].key] = {f.now + 1s, 2s};
  // The second failed too, but its parent is loaded.
  f.store.failures[tiles[1].key] = {f.now + 1s, 2s};
  const TileKey parent{tiles[1].key.x >> 1, tiles[1].key.y >> 1, static_cast<std::uint8_t>(tiles[1].key.z - 1)};
  f.load(parent, tile_image());
  Scene s;
  paint(s, f, 14.4);
  std::vector<Rect> muted;
  for (const auto& fill : items_of<scene::Fill>(s)) {
    if (fill.color == kPalette.grid_ground) muted.push_back(std::get<Rect>(fill.shape));
  }
  EXPECT_EQ(muted, std::vector<Rect>{failed});
  const auto hatches = items_of<scene::Stroke>(s);
  ASSERT_EQ(hatches.size(), 1u);
  const auto& path = std::get<zarn_ui::BezPath>(hatches[0].shape).elements();
  EXPECT_GT(path.size(), 20u) << "lines every 16 px across the tile";
  for (const auto& el : path) {
    EXPECT_GE(el.p[0].x, failed.x0 - 1e-9);
    EXPECT_LE(el.p[0].x, failed.x1 + 1e-9);
    EXPECT_GE(el.p[0].y, failed.y0 - 1e-9);
    EXPECT_LE(el.p[0].y, failed.y1 + 1e-9);
  }
  EXPECT_EQ(failed_tiles_in_view(f.store, kBounds, kCenter, 14.4), 2u);
}

TEST(RasterTiles, LoadedTileIsStretchedOverItsRectangle) {
  Fixture f;
  const auto tiles = tiles_at(14.4);
  const Image img = tile_image();
  f.load(tiles[0].key, img);
  Scene s;
  EXPECT_TRUE(paint(s, f, 14.4));
  const auto images = items_of<scene::DrawImage>(s);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].image, img);  // shared, not copied
  EXPECT_EQ(images[0].shape, zarn_ui::Shape(Rect{tiles[0].x0, tiles[0].y0, tiles[0].x1, tiles[0].y1}));
  const auto [a, b] = image_span(images[0]);
  expect_near(a, {0, 0});
  expect_near(b, {256, 256});
  // The loaded tile is not requested; the others are.
  EXPECT_EQ(f.requested().size(), tiles.size() - 1);
}

TEST(RasterTiles, AncestorFourLevelsUpShowsItsMatchingSixteenth) {
  Fixture f;
  const auto tiles = tiles_at(14.0);
  const TileKey key = tiles[0].key;
  const TileKey up{key.x >> 4, key.y >> 4, static_cast<std::uint8_t>(key.z - 4)};
  f.load(up, tile_image());
  Scene s;
  EXPECT_TRUE(paint(s, f, 14.0));
  const auto images = items_of<scene::DrawImage>(s);
  ASSERT_GE(images.size(), 1u);
  const double dx = key.x - up.x * 16.0, dy = key.y - up.y * 16.0;
  const auto [a, b] = image_span(images[0]);
  expect_near(a, {16 * dx, 16 * dy});
  expect_near(b, {16 * (dx + 1), 16 * (dy + 1)});
}

TEST(TileChildren, LoadedQuartersCoverTheirCellsOverTheAncestor) {
  Fixture f;
  const TileKey key{100, 200, 12};
  const Rect r{0, 0, 256, 256};
  f.load({50, 100, 11}, tile_image());
  f.load({200, 400, 13}, tile_image());   // top-left child
  f.load({201, 401, 13}, tile_image());   // bottom-right child
  f.load({800, 1600, 14}, tile_image());  // a grandchild: a deeper level is not tried
  Scene s;
  const auto before = paint_tile_children(s, Affine::identity(), f.store, key, r, 2);
  EXPECT_TRUE(before);
  const auto images = items_of<scene::DrawImage>(s);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0].shape, zarn_ui::Shape(Rect{0, 0, 128, 128}));
  EXPECT_EQ(images[1].shape, zarn_ui::Shape(Rect{128, 128, 256, 256}));
}

TEST(TileChildren, DepthStopsAtZoom19AndAtEmptyRectangles) {
  struct Case {
    TileKey key;
    TileKey loaded;
    Rect rect;
    bool drawn;
    std::size_t images;
  };
  const Rect r{0, 0, 256, 256};
  for (const Case& c : std::vector<Case>{
           {{1, 1, 17}, {4, 4, 19}, r, true, 1},                // two levels down
           {{1, 1, 18}, {2, 2, 19}, r, true, 1},                // one level down
           {{1, 1, 18}, {4, 4, 20}, r, false, 0},               // zoom 20 is never tried
           {{1, 1, 19}, {2, 2, 20}, r, false, 0},               // nothing below 19
           {{1, 1, 17}, {2, 2, 18}, {0, 0, 0, 256}, false, 0},  // zero width
       }) {
    Fixture f;
    f.load(c.loaded, tile_image());
    Scene s;
    EXPECT_EQ(paint_tile_children(s, Affine::identity(), f.store, c.key, c.rect, 2), c.drawn);
    EXPECT_EQ(items_of<scene::DrawImage>(s).size(), c.images);
  }
}

TEST(TileImages, EmptyRectanglesAndLevelZeroFallBackToTheWholeImage) {
  Scene s;
  const Image img = tile_image();
  draw_image_in_rect(s, Affine::identity(), img, {10, 10, 10, 50});
  draw_image_in_rect(s, Affine::identity(), img, {10, 10, 50, 5});
  EXPECT_TRUE(s.empty());
  paint_tile_image(s, Affine::identity(), img, {1, 1, 1}, {1, 1, 1}, 0, {0, 0, 512, 512});
  ASSERT_EQ(s.size(), 1u);
  const auto [a, b] = image_span(std::get<scene::DrawImage>(s.items()[0]));
  expect_near(a, {0, 0});
  expect_near(b, {256, 256});
}

TEST(TileGrid, ThreeInnerLinesEachWayAndTheLeftAndTopEdges) {
  Scene s;
  paint_tile_grid(s, Affine::identity(), kBounds, kCenter, 14.4, kPalette, 300, 200);
  const auto tiles = tiles_at(14.4);
  const auto fills = items_of<scene::Fill>(s);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].shape, zarn_ui::Shape(kBounds));
  EXPECT_EQ(fills[0].color, kPalette.grid_ground);
  EXPECT_TRUE(std::holds_alternative<scene::PushLayer>(s.items()[1]));
  const auto strokes = items_of<scene::Stroke>(s);
  ASSERT_EQ(strokes.size(), tiles.size() * 8);
  const Color minor = mix_color(kPalette.grid_ground, kPalette.grid_line, 0.4f);
  const Color major = mix_color(kPalette.grid_ground, kPalette.grid_line, 0.85f);
  const VisibleTile& t = tiles[0];
  const double w = t.x1 - t.x0;
  EXPECT_EQ(strokes[0].shape, zarn_ui::Shape(zarn_ui::Line{{t.x0 + w * 0.25, t.y0}, {t.x0 + w * 0.25, t.y1}}));
  EXPECT_EQ(strokes[0].width, 0.5);
  EXPECT_EQ(strokes[0].color, minor);
  EXPECT_EQ(strokes[6].shape, zarn_ui::Shape(zarn_ui::Line{{t.x0, t.y0}, {t.x0, t.y1}}));
  EXPECT_EQ(strokes[7].shape, zarn_ui::Shape(zarn_ui::Line{{t.x0, t.y0}, {t.x1, t.y0}}));
  EXPECT_EQ(strokes[7].width, 1.0);
  EXPECT_EQ(strokes[7].color, major);
}

}  // namespace
}  // namespace maps

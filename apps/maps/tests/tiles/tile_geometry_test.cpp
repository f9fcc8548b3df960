#include "tiles/tile_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <unordered_set>

#include "tiles/tile_disk.hpp"

namespace maps {
namespace {

TEST(VisibleTiles, FractionalZoomUsesNearestLevelScaled) {
  // 800 x 600 view of (0, 0) at zoom 3.6: level 4, tiles 256 * 2^-0.4 px wide, the first one
  // holding the view's top left corner.
  const auto tiles = visible_tiles(0, 0, 800, 600, 0, 0, 3.6, 400, 300);
  const double scale = std::exp2(-0.4);
  const double size = 256 * scale;
  const double c = 128 * 16;  // the centre in world pixels at level 4
  const int first_col = static_cast<int>(std::floor((c - 400 / scale) / 256));
  const int first_row = static_cast<int>(std::floor((c - 300 / scale) / 256));
  ASSERT_FALSE(tiles.empty());
  for (const VisibleTile& t : tiles) {
    const int k = static_cast<int>(t.key.x) - first_col, r = static_cast<int>(t.key.y) - first_row;
    EXPECT_EQ(t.key.z, 4);
    EXPECT_NEAR(t.x0, 400 + scale * ((first_col + k) * 256.0 - c), 1e-9);
    EXPECT_NEAR(t.y0, 300 + scale * ((first_row + r) * 256.0 - c), 1e-9);
    EXPECT_DOUBLE_EQ(t.x1 - t.x0, size);
    EXPECT_DOUBLE_EQ(t.y1 - t.y0, size);
  }
  EXPECT_EQ(tiles.front().key,
            (TileKey{static_cast<std::uint32_t>(first_col), static_cast<std::uint32_t>(first_row), 4}));
}

// Every tile lies under the rectangle (none only touches or misses it), and together they cover
// it; the ring around them is one tile wide on every side and shares no tile with them.
TEST(VisibleTiles, CoverTheViewExactlyAndTheRingSurroundsIt) {
  struct Case {
    double w, h, zoom, lat, lon;
  };
  const Case cases[] = {
      {1280, 800, 14, 48.1371, 11.5754},    // a window at a whole zoom
      {1280, 800, 14.4, 48.1371, 11.5754},  // scaled up
      {1024, 768, 13.6, 48.1371, 11.5754},  // scaled down
      {512, 512, 2, 0, -180},               // edges on tile boundaries, across the antimeridian
      {300, 200, 16, -33.86, 151.21},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.w << "x" << k.h << " z" << k.zoom);
    const auto tiles = visible_tiles(0, 0, k.w, k.h, k.lat, k.lon, k.zoom, k.w / 2, k.h / 2);
    ASSERT_FALSE(tiles.empty());
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    std::set<std::pair<std::int64_t, std::int64_t>> cells;
    for (const VisibleTile& t : tiles) {
      EXPECT_LT(t.x0, k.w - 1e-6);
      EXPECT_GT(t.x1, 1e-6);
      EXPECT_LT(t.y0, k.h - 1e-6);
      EXPECT_GT(t.y1, 1e-6);
      left = std::min(left, t.x0), top = std::min(top, t.y0);
      right = std::max(right, t.x1), bottom = std::max(bottom, t.y1);
      cells.insert({std::llround(t.x0), std::llround(t.y0)});
    }
    EXPECT_LE(left, 1e-6);
    EXPECT_LE(top, 1e-6);
    EXPECT_GE(right, k.w - 1e-6);
    EXPECT_GE(bottom, k.h - 1e-6);
    EXPECT_EQ(cells.size(), tiles.size()) << "no tile twice";

    const auto ring = tiles_around_view(0, 0, k.w, k.h, k.lat, k.lon, k.zoom, k.w / 2, k.h / 2);
    const double size = tiles.front().x1 - tiles.front().x0;
    const auto columns = static_cast<std::size_t>(std::llround((right - left) / size));
    const auto rows = static_cast<std::size_t>(std::llround((bottom - top) / size));
    EXPECT_EQ(ring.size(), 2 * (columns + rows) + 4);
    std::unordered_set<TileKey> seen(ring.begin(), ring.end());
    EXPECT_EQ(seen.size(), ring.size());
    for (const VisibleTile& t : tiles) EXPECT_FALSE(seen.contains(t.key));
    const TileKey first = tiles.front().key;
    EXPECT_TRUE(seen.contains(TileKey{first.x - 1, first.y - 1, first.z})) << "the corner above and left";
  }
}

TEST(VisibleTiles, TheRingSkipsRowsBeyondThePolesAndAnEmptyViewHasNone) {
  // The whole world at zoom 1 in a tall window: no row above 0 or below 1.
  for (const TileKey& k : tiles_around_view(0, 0, 400, 2000, 0, 0, 1, 200, 1000)) EXPECT_LT(k.y, 2u);
  EXPECT_TRUE(tiles_around_view(0, 0, 0, 0, 48, 11, 14, 0, 0).empty());
  EXPECT_TRUE(tiles_around_view(0, 0, 800, 600, std::numeric_limits<double>::quiet_NaN(), 11, 14, 400, 300).empty());
}

TEST(VisibleTiles, ZoomRoundsHalfAwayFromZero) {
  EXPECT_EQ(visible_tiles(0, 0, 100, 100, 0, 0, 2.5, 50, 50).front().key.z, 3);
  EXPECT_EQ(visible_tiles(0, 0, 100, 100, 0, 0, 2.49, 50, 50).front().key.z, 2);
  EXPECT_EQ(visible_tiles(0, 0, 100, 100, 0, 0, -3, 50, 50).front().key.z, 0);
}

TEST(VisibleTiles, ColumnsWrapAndKeepTheirScreenPosition) {
  // Centre on the antimeridian at zoom 2: the column left of 0 is 3, drawn at x = 0.
  const auto tiles = visible_tiles(0, 0, 512, 512, 0, -180, 2, 256, 256);
  ASSERT_EQ(tiles.size(), 4u);  // columns 3 and 0, rows 1 and 2
  EXPECT_EQ(tiles[0].key, (TileKey{3, 1, 2}));
  EXPECT_DOUBLE_EQ(tiles[0].x0, 0);
  EXPECT_EQ(tiles[1].key, (TileKey{0, 1, 2}));
  EXPECT_DOUBLE_EQ(tiles[1].x0, 256);
}

TEST(VisibleTiles, RowsBeyondThePolesAreSkippedAndWideMapsRepeat) {
  const auto north = visible_tiles(0, 0, 1000, 600, 85, 0, 1, 500, 300);
  for (const VisibleTile& t : north) EXPECT_LT(t.key.y, 2u);
  const auto world = visible_tiles(0, 0, 1000, 256, 0, 0, 0, 500, 128);
  ASSERT_GE(world.size(), 4u);
  for (const VisibleTile& t : world) EXPECT_EQ(t.key, (TileKey{0, 0, 0}));
  EXPECT_DOUBLE_EQ(world[1].x0 - world[0].x0, 256);
}

TEST(VisibleTiles, NonFiniteViewGivesNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(visible_tiles(0, 0, 800, 600, nan, 0, 14, 400, 300).empty());
  EXPECT_TRUE(visible_tiles(0, 0, 800, 600, 48, 11, nan, 400, 300).empty());
  EXPECT_TRUE(visible_tiles(0, 0, std::numeric_limits<double>::infinity(), 600, 48, 11, 14, 400, 300).empty());
}

TEST(TileXyFor, KnownPositions) {
  struct Case {
    double lat, lon;
    std::uint8_t z;
    std::uint32_t x, y;
  };
  for (const Case& c : std::vector<Case>{{48.1371, 11.5754, 14, 8718, 5685},
                                         {90, 180, 1, 1, 0},
                                         {-90, -180, 1, 0, 1},
                                         {0, 0, 0, 0, 0},
                                         {std::numeric_limits<double>::quiet_NaN(), 500, 3, 7, 0}}) {
    EXPECT_EQ(tile_xy_for(c.lat, c.lon, c.z), (std::pair{c.x, c.y})) << c.lat << "," << c.lon << " z" << int(c.z);
  }
}

TEST(RegionTiles, ZoomRangeIsOrderedAndCapped) {
  const TileBox box{{48.13, 11.57}, {48.14, 11.58}};
  struct Case {
    std::uint8_t z0, z1;
    int lo, hi;  // expected zooms covered; lo > hi means none
  };
  for (const Case& c : std::vector<Case>{{16, 12, 12, 16}, {12, 16, 12, 16}, {18, 25, 18, 19}, {20, 22, 1, 0}}) {
    const auto keys = region_tiles(box, c.z0, c.z1);
    EXPECT_EQ(keys.size(), region_tile_count(box, c.z0, c.z1));
    if (c.lo > c.hi) {
      EXPECT_TRUE(keys.empty());
      continue;
    }
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ(keys.front().z, c.lo);
    EXPECT_EQ(keys.back().z, c.hi);
    for (std::size_t i = 1; i < keys.size(); ++i) {
      const TileKey& a = keys[i - 1];
      const TileKey& b = keys[i];
      // zoom, then row, then column, all ascending
      EXPECT_TRUE(a.z < b.z || (a.z == b.z && (a.y < b.y || (a.y == b.y && a.x < b.x))));
    }
  }
}

// A region read from a document or an action may span the world down to zoom 19 (366 billion
// tiles); it must neither try to reserve that nor overflow the count.
TEST(RegionTiles, AHugeRegionKeepsItsCoarseLevelsWithinTheCap) {
  const TileBox world{{-90, -180}, {90, 180}};
  // Zoom levels 0 to 9 hold (4^10 - 1) / 3 tiles; level 10 alone would pass the cap.
  constexpr std::size_t kUpToNine = 349'525;
  struct Case {
    const char* name;
    TileBox box;
    std::uint8_t z0, z1;
    std::optional<std::size_t> count;  // none: whatever the box holds
    int finest;                        // the finest zoom kept; -1 for none
  } cases[] = {
      {"the world, every zoom", world, 0, 19, kUpToNine, 9},
      {"the world, reversed range", world, 255, 0, kUpToNine, 9},
      {"the world at zoom 19 only", world, 19, 19, 0, -1},
      {"the world at zoom 10: one level past the cap", world, 10, 10, 0, -1},
      {"a city block stays whole", {{48.13, 11.57}, {48.14, 11.58}}, 0, 19, std::nullopt, 19},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t count = region_tile_count(c.box, c.z0, c.z1);
    EXPECT_LE(count, kMaxRegionTiles);
    if (c.count) {
      EXPECT_EQ(count, *c.count);
    }
    const auto keys = region_tiles(c.box, c.z0, c.z1);
    EXPECT_EQ(keys.size(), count);
    if (c.finest < 0) {
      EXPECT_TRUE(keys.empty());
    } else {
      ASSERT_FALSE(keys.empty());
      EXPECT_EQ(keys.back().z, c.finest);
      EXPECT_LE(keys.capacity(), keys.size());
    }
  }
}

// A region as spans holds exactly its tiles, the cap included, and nothing beside them.
TEST(RegionSpans, HoldExactlyTheRegionsTiles) {
  struct Case {
    const char* name;
    TileBox box;
    std::uint8_t z0, z1;
  } cases[] = {
      {"a city over six levels", {{48.13, 11.57}, {48.15, 11.60}}, 12, 17},
      {"corners given the other way round", {{48.15, 11.60}, {48.13, 11.57}}, 17, 12},
      {"the world past the cap", {{-90, -180}, {90, 180}}, 8, 12},
      {"past zoom 19", {{48.13, 11.57}, {48.14, 11.58}}, 20, 22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto spans = region_spans(c.box, c.z0, c.z1);
    const auto keys = region_tiles(c.box, c.z0, c.z1);
    std::vector<TileKey> expanded;
    for (const TileSpan& s : spans) {
      for (std::uint32_t y = s.ylo; y <= s.yhi; ++y) {
        for (std::uint32_t x = s.xlo; x <= s.xhi; ++x) expanded.push_back({x, y, s.z});
      }
    }
    EXPECT_EQ(expanded, keys);
    for (const TileKey& k : keys) EXPECT_TRUE(spans_contain(spans, k));
    if (spans.empty()) continue;
    const TileSpan& first = spans.front();
    // Just outside the first span, and one level finer than the last.
    EXPECT_FALSE(spans_contain(spans, {first.xhi + 1, first.ylo, first.z}));
    EXPECT_FALSE(spans_contain(spans, {first.xlo, first.yhi + 1, first.z}));
    EXPECT_FALSE(spans_contain(spans, {first.xlo, first.ylo, static_cast<std::uint8_t>(spans.back().z + 1)}));
  }
}

TEST(RegionTiles, RowsOuterColumnsInner) {
  // A box spanning 2 x 2 tiles at zoom 1.
  const auto keys = region_tiles({{-10, -10}, {10, 10}}, 1, 1);
  EXPECT_EQ(keys, (std::vector<TileKey>{{0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}}));
  // Larger than the world at zoom 0: the one tile.
  EXPECT_EQ(region_tiles({{-100, -400}, {100, 400}}, 0, 0), (std::vector<TileKey>{{0, 0, 0}}));
}

}  // namespace
}  // namespace maps

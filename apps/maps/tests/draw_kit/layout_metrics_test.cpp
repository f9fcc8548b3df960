#include "draw_kit/layout_metrics.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace maps {
namespace {

TEST(LayoutMetrics, NarrowAndWideAtSeveralWidths) {
  struct Case {
    double width;
    bool narrow;
    double panel;
    double search_x0, search_x1;
  } cases[] = {
      {719, true, 384, 66, 719 - 66}, {720, false, 0.42 * 720, 16, 16 + 0.42 * 720},
      {400, true, 368, 66, 334},      {200, true, 168, 66, 186},
      {1000, false, 384, 16, 400},    {1280, false, 384, 16, 400},
  };
  for (const auto& c : cases) {
    const Rect b{0, 0, c.width, 800};
    EXPECT_EQ(is_narrow_layout(b), c.narrow) << c.width;
    EXPECT_DOUBLE_EQ(side_panel_width(b), c.panel) << c.width;
    const Rect s = search_box_rect(b);
    EXPECT_DOUBLE_EQ(s.x0, c.search_x0) << c.width;
    EXPECT_DOUBLE_EQ(s.x1, c.search_x1) << c.width;
    EXPECT_EQ(s.y0, 16);
    EXPECT_EQ(s.y1, 64);
    EXPECT_EQ(menu_button_rect(b).has_value(), c.narrow);
    const Rect p = side_panel_rect(b);
    EXPECT_EQ(p, (Rect{16, 74, 16 + c.panel, 784})) << c.width;
  }
  EXPECT_EQ(menu_button_rect({0, 0, 500, 800}), (Rect{16, 16, 56, 64}));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(is_narrow_layout({0, 0, nan, 800}));
  // Before the first layout the width is 0: narrow.
  EXPECT_TRUE(is_narrow_layout({}));
}

TEST(LayoutMetrics, OffsetBoundsMoveEverything) {
  const Rect b{100, 50, 1380, 850};
  EXPECT_EQ(search_box_rect(b), (Rect{116, 66, 500, 114}));
  EXPECT_EQ(map_viewport_center(b), (Point{740, 450}));
}

}  // namespace
}  // namespace maps

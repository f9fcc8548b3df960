#include "app/screen_geometry.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tick_fixture.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

TEST(ScreenGeometry, NarrowAndWideAtSeveralWidths) {
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

TEST(ScreenGeometry, OffsetBoundsMoveEverything) {
  const Rect b{100, 50, 1380, 850};
  EXPECT_EQ(search_box_rect(b), (Rect{116, 66, 500, 114}));
  EXPECT_EQ(map_viewport_center(b), (Point{740, 450}));
}

TEST(ScreenGeometry, CameraAndVisibleBox) {
  const Rect b{0, 0, 1280, 800};
  const LatLon c{48.1371, 11.5754};
  const Camera cam = view_camera(b, c, 14.4);
  EXPECT_EQ(cam.screen_x, 640);
  EXPECT_EQ(cam.screen_y, 400);
  const GeoBox box = visible_bounds(b, c, 14.4);
  EXPECT_LT(box.min_lat, c.lat);
  EXPECT_GT(box.max_lat, c.lat);
  EXPECT_LT(box.min_lon, c.lon);
  EXPECT_GT(box.max_lon, c.lon);
  // Symmetric in longitude about the centre.
  EXPECT_NEAR(c.lon - box.min_lon, box.max_lon - c.lon, 1e-9);
}

// Lays the state out in a root of the given size, as the window loop does.
void lay_out(MapsApp& app, float width, float height) {
  auto tree = zarn_ui::layout::LayoutTree::with_capacity(4);
  zarn_ui::layout::NodeWidgetMap widgets;
  const auto node = app.build_layout(tree, zarn_ui::theme::Theme::light(), widgets);
  ASSERT_TRUE(node.has_value());
  EXPECT_EQ(app.layout_node, node);
  zarn_ui::layout::Style root_style;
  root_style.size = {zarn_ui::layout::Dimension::px(width), zarn_ui::layout::Dimension::px(height)};
  auto root = tree.new_with_children(root_style, {*node});
  ASSERT_TRUE(root.is_ok());
  ASSERT_TRUE(tree.compute(*root, width, height).is_ok());
  app.apply_layout(tree, *node, {10, 20});
}

TEST(Layout, BoundsFollowTheNodeAndTheFirstViewArmsThePoiDeadlineOnce) {
  struct Case {
    const char* name;
    bool live;
    double zoom;
    float width;
    bool has_box;
    bool armed;
  };
  const Case cases[] = {
      {"live at 14", true, 14.0, 800, false, true},
      {"below 14", true, 13.9, 800, false, false},
      {"not live", false, 15.0, 800, false, false},
      {"one pixel wide", true, 15.0, 1, false, false},
      {"a box already asked for", true, 15.0, 800, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TickFixture f(c.live);
    f.model().zoom = c.zoom;
    if (c.has_box) f.app->poi_box = GeoBox{48.0, 11.0, 48.2, 11.2};
    lay_out(*f.app, c.width, 600);
    EXPECT_EQ(f.app->bounds(), (Rect{10, 20, 10 + c.width, 620}));
    EXPECT_EQ(f.app->view_idle_deadline.has_value(), c.armed);
    if (c.armed) {
      EXPECT_EQ(*f.app->view_idle_deadline, f.now() + std::chrono::milliseconds(450));
    }
  }
  // A deadline already set is left as it is.
  testing::TickFixture f;
  f.model().zoom = 15.0;
  f.app->view_idle_deadline = f.now() + std::chrono::milliseconds(10);
  lay_out(*f.app, 800, 600);
  EXPECT_EQ(f.app->view_idle_deadline, std::optional<MonoTime>(f.now() + std::chrono::milliseconds(10)));
}

}  // namespace
}  // namespace maps

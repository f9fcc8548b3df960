// The state's node in the framework's layout tree, and what laying it out arms.

#include <gtest/gtest.h>

#include "tick_fixture.hpp"
#include "zarn_ui/layout.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {
namespace {

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
    if (c.has_box) f.app->backend.view_pois.box = GeoBox{48.0, 11.0, 48.2, 11.2};
    lay_out(*f.app, c.width, 600);
    EXPECT_EQ(f.app->bounds(), (Rect{10, 20, 10 + c.width, 620}));
    EXPECT_EQ(f.app->backend.view_pois.idle_deadline.has_value(), c.armed);
    if (c.armed) {
      EXPECT_EQ(*f.app->backend.view_pois.idle_deadline, f.now() + std::chrono::milliseconds(450));
    }
  }
  // A deadline already set is left as it is.
  testing::TickFixture f;
  f.model().zoom = 15.0;
  f.app->backend.view_pois.idle_deadline = f.now() + std::chrono::milliseconds(10);
  lay_out(*f.app, 800, 600);
  EXPECT_EQ(f.app->backend.view_pois.idle_deadline,
            std::optional<base::MonoTime>(f.now() + std::chrono::milliseconds(10)));
}

}  // namespace
}  // namespace maps

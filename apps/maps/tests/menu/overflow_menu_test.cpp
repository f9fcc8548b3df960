// The overflow menu behind "More": opening and closing it, choosing with the keys or the pointer,
// what its entries run, and where a press goes while the menu and the other layers are shown.

#include <gtest/gtest.h>

#include "app/navigation_view.hpp"
#include "app/ui_messages.hpp"
#include "app_input_fixture.hpp"
#include "menu/menu_input.hpp"
#include "overlay/map_controls.hpp"
#include "overlay_frame.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using overlay_testing::Painter;
namespace ev = zarn_ui::widget;

struct MenuFixture : AppFixture {
  Painter painter;
  void frame() { painter.window(*app); }
  void click_more() {
    frame();
    const Point c = rect_center(more_button_rect(app->bounds_rect));
    click(c.x, c.y);
    frame();
  }
  Point row(std::size_t i) const {
    const Rect r = app->overflow_menu.rect();
    return {r.x0 + 40, r.y0 + zarn_ui::widgets::ContextMenu::kPadding + 32.0 * static_cast<double>(i) + 16};
  }
};

TEST(OverflowMenu, MoreOpensItAboveTheButtonAndTogglesIt) {
  MenuFixture f;
  f.click_more();
  ASSERT_TRUE(f.app->overflow_menu.is_open());
  const Rect r = f.app->overflow_menu.rect();
  EXPECT_EQ(r.x1, 1280 - 16);
  EXPECT_EQ(r.y1, 800 - 46 - 6);
  const auto p = f.painter.window(*f.app);
  for (const char* label : {"Attribution", "Offline maps", "Licenses", "Float navigation"}) {
    EXPECT_TRUE(p.has_text(label)) << label;
  }
  f.click_more();
  EXPECT_FALSE(f.app->overflow_menu.is_open());
}

TEST(OverflowMenu, ArrowKeysAndEnterChooseEscapeCloses) {
  struct Case {
    std::vector<ev::NamedKey> keys;
    DialogKind dialog;
    bool offline;
    bool open_after;
  } cases[] = {
      {{ev::NamedKey::ArrowDown, ev::NamedKey::Enter}, DialogKind::Attribution, false, false},
      {{ev::NamedKey::ArrowDown, ev::NamedKey::ArrowDown, ev::NamedKey::Enter}, DialogKind::Closed, true, false},
      {{ev::NamedKey::ArrowUp, ev::NamedKey::ArrowUp, ev::NamedKey::Enter}, DialogKind::Licenses, false, false},
      {{ev::NamedKey::Enter}, DialogKind::Closed, false, true},  // nothing highlighted yet
      {{ev::NamedKey::ArrowDown, ev::NamedKey::Escape}, DialogKind::Closed, false, false},
  };
  for (const auto& c : cases) {
    MenuFixture f;
    f.click_more();
    for (const auto k : c.keys) EXPECT_TRUE(f.key(k));
    EXPECT_EQ(f.app->overflow_menu.is_open(), c.open_after);
    EXPECT_EQ(f.app->dialog.kind(), c.dialog);
    EXPECT_EQ(f.app->offline_panel.is_open(), c.offline);
    EXPECT_EQ(f.model().center, default_map_model().center) << "the arrows were the menu's, not the map's";
  }
}

TEST(OverflowMenu, PointerHighlightsAndChoosesAPressOutsideOnlyCloses) {
  MenuFixture f;
  f.click_more();
  const Point licenses = f.row(2);
  f.move(licenses.x, licenses.y);
  EXPECT_EQ(f.app->overflow_menu.highlighted(), 2u);
  EXPECT_TRUE(f.press());
  f.release();
  EXPECT_EQ(f.app->dialog.kind(), DialogKind::Licenses);
  EXPECT_FALSE(f.app->overflow_menu.is_open());
  f.key(ev::NamedKey::Enter);  // "Close"
  EXPECT_FALSE(f.app->dialog.is_open());

  f.click_more();
  const Rect zoom_in = control_button_rect(f.app->bounds_rect, MapControl::ZoomIn);
  const double zoom = f.model().zoom;
  f.click(rect_center(zoom_in).x, rect_center(zoom_in).y);
  EXPECT_FALSE(f.app->overflow_menu.is_open());
  EXPECT_EQ(f.model().zoom, zoom) << "the press closed the menu and did nothing else";
  EXPECT_FALSE(f.app->pointer.map_press);
}

TEST(OverflowMenu, FloatNavigationNeedsARoute) {
  MenuFixture f;
  route_message(*f.app, overflow_menu_message(OverflowMenuItem::FloatNavigation), f.state);
  EXPECT_FALSE(f.app->take_surface_request());
  EXPECT_TRUE(f.app->navigation.placement().is_docked());

  f.model().route = sample_route_steps();
  f.click_more();
  const Point row = f.row(3);
  f.click(row.x, row.y);
  EXPECT_TRUE(f.app->take_surface_request());
  EXPECT_FALSE(f.app->navigation.placement().is_docked());
}

// "More" is drawn above the navigation panel: a press on it opens the menu even where a
// floating panel lies beneath, and the panel below takes presses beside it.
TEST(OverflowMenu, MoreTakesAPressBeforeThePanelUnderIt) {
  MenuFixture f;
  f.model().route = sample_route_steps();
  f.frame();
  const Rect more = more_button_rect(f.app->bounds_rect);
  const Rect grip = f.app->navigation.drag_rect();
  // Drag the panel so that its End button lies under "More".
  const Rect panel = f.app->navigation.panel_rect(f.app->bounds_rect);
  const Point end_centre = rect_center(f.app->navigation.end_rect());
  const Point grab{grip.x0 + 20, grip.y0 + 10};
  f.move(grab.x, grab.y);
  f.press();
  const Point c = rect_center(more);
  f.move(grab.x + (c.x - end_centre.x), grab.y + (c.y - end_centre.y));
  f.release();
  f.frame();
  ASSERT_TRUE(rect_contains_point(f.app->navigation.end_rect(), c.x, c.y));
  ASSERT_NE(f.app->navigation.panel_rect(f.app->bounds_rect), panel);

  f.click(c.x, c.y);
  EXPECT_TRUE(f.app->overflow_menu.is_open());
  EXPECT_TRUE(f.model().route) << "End lies under \"More\"";
  EXPECT_TRUE(f.commits.empty());
}

}  // namespace
}  // namespace maps

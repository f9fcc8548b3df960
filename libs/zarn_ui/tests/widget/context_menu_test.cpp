// The pop-up menu: keys, pointer and drawing.

#include <gtest/gtest.h>

#include "field_fixture.hpp"
#include "paint_fixture.hpp"
#include "zarn_ui/context_menu.hpp"

namespace zarn_ui::widgets {
namespace {

using testing::key;
using testing::PaintFixture;
using testing::typed;
using widget::MouseButton;
using widget::MouseButtonEvent;
using widget::NamedKey;
using widget::PointerMoved;

ContextMenu open_menu() {
  ContextMenu menu;
  for (const char* label : {"Attribution", "Offline maps", "Licenses", "Float navigation"}) menu.push({label});
  menu.open_at({1000, 500});
  return menu;
}

// The middle of a row, in logical pixels.
Point row_point(std::size_t row) {
  return {1100, 500 + ContextMenu::kPadding + ContextMenu::kRowHeight * (static_cast<double>(row) + 0.5)};
}

bool press(ContextMenu& menu) { return menu.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {}); }

TEST(ContextMenu, ArrowKeysMoveTheHighlightEnterChoosesEscapeCloses) {
  ContextMenu menu = open_menu();
  const std::pair<NamedKey, std::size_t> steps[] = {
      {NamedKey::ArrowDown, 0}, {NamedKey::ArrowDown, 1}, {NamedKey::ArrowUp, 0}, {NamedKey::ArrowUp, 3},
      {NamedKey::ArrowDown, 0}, {NamedKey::End, 3},       {NamedKey::Home, 0},    {NamedKey::ArrowDown, 1},
  };
  for (const auto& [k, highlighted] : steps) {
    EXPECT_TRUE(menu.handle_event(key(k), {}));
    EXPECT_EQ(menu.highlighted(), highlighted);
  }
  EXPECT_EQ(menu.take_chosen(), std::nullopt);
  EXPECT_TRUE(menu.handle_event(key(NamedKey::Enter), {}));
  EXPECT_EQ(menu.take_chosen(), 1u);
  EXPECT_EQ(menu.take_chosen(), std::nullopt);
  EXPECT_FALSE(menu.is_open());
  // Closed, the menu takes nothing.
  EXPECT_FALSE(menu.handle_event(key(NamedKey::ArrowDown), {}));

  menu = open_menu();
  EXPECT_EQ(menu.highlighted(), std::nullopt);
  EXPECT_TRUE(menu.handle_event(key(NamedKey::Enter), {}));  // nothing highlighted: nothing chosen
  EXPECT_TRUE(menu.is_open());
  EXPECT_TRUE(menu.handle_event(typed("x"), {}));  // other keys are the menu's too
  EXPECT_TRUE(menu.handle_event(key(NamedKey::Escape), {}));
  EXPECT_FALSE(menu.is_open());
  EXPECT_EQ(menu.take_chosen(), std::nullopt);
}

TEST(ContextMenu, PointerHighlightsAndPressChoosesTheRowUnderIt) {
  ContextMenu menu = open_menu();
  const Point p = row_point(2);
  EXPECT_FALSE(menu.handle_event(PointerMoved{p * 2.0}, {0, 2.0, nullptr}));  // physical pixels at 2x
  EXPECT_EQ(menu.highlighted(), 2u);
  EXPECT_TRUE(press(menu));
  EXPECT_EQ(menu.take_chosen(), 2u);
  EXPECT_FALSE(menu.is_open());
}

TEST(ContextMenu, PressOutsideClosesAndOnThePaddingDoesNothing) {
  ContextMenu menu = open_menu();
  menu.handle_event(PointerMoved{{1100, 502}}, {});  // inside, above the first row
  EXPECT_TRUE(press(menu));
  EXPECT_TRUE(menu.is_open());
  menu.handle_event(PointerMoved{{900, 520}}, {});
  EXPECT_TRUE(press(menu));
  EXPECT_FALSE(menu.is_open());
  EXPECT_EQ(menu.take_chosen(), std::nullopt);
  // Releases and other buttons do nothing.
  menu = open_menu();
  menu.handle_event(PointerMoved{row_point(0)}, {});
  EXPECT_FALSE(menu.handle_event(MouseButtonEvent{MouseButton::Primary, false}, {}));
  EXPECT_FALSE(menu.handle_event(MouseButtonEvent{MouseButton::Secondary, true}, {}));
  EXPECT_TRUE(menu.is_open());
}

// The pointer the menu saw before it was last closed is not where the pointer is now: a press
// right after opening, with no move since, closes the menu instead of choosing a stale row.
TEST(ContextMenu, APressRightAfterOpeningChoosesNothing) {
  ContextMenu menu = open_menu();
  menu.handle_event(PointerMoved{row_point(1)}, {});
  menu.close();
  menu.open_at({1000, 500});
  EXPECT_TRUE(press(menu));
  EXPECT_EQ(menu.take_chosen(), std::nullopt);
  EXPECT_FALSE(menu.is_open());
}

TEST(ContextMenu, DrawsItsRowsInOrderWithTheHighlight) {
  PaintFixture f;
  ContextMenu menu = open_menu();
  menu.close();
  menu.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_TRUE(f.scene.empty());

  menu.open_at({1000, 500});
  menu.handle_event(PointerMoved{row_point(3)}, {});
  menu.draw(f.scene, Affine::identity(), f.ctx());
  const auto runs = f.runs();
  ASSERT_EQ(runs.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(runs[i].text, menu.items()[i].label);
  EXPECT_EQ(runs[1].transform.translation().y, 500 + 6 + 32 + (32 - 1.25 * 13) / 2);
  const auto fills = f.fills();
  const auto hover =
      std::find_if(fills.begin(), fills.end(), [&](const scene::Fill& x) { return x.color == f.theme.hover; });
  ASSERT_NE(hover, fills.end());
  EXPECT_EQ(std::get<RoundedRect>(hover->shape).rect, (Rect{1006, 602, 1214, 634}));
}

}  // namespace
}  // namespace zarn_ui::widgets

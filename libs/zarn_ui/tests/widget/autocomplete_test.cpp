// The autocomplete field: its suggestion list, keys, pointer, pending outcome and drawing.

#include <gtest/gtest.h>

#include "field_fixture.hpp"
#include "paint_fixture.hpp"
#include "zarn_ui/autocomplete.hpp"

namespace zarn_ui::widgets {
namespace {

using testing::key;
using testing::PaintFixture;
using testing::typed;
using widget::MouseButton;
using widget::MouseButtonEvent;
using widget::NamedKey;
using widget::PointerMoved;
using Outcome = AutocompleteOutcome;

const Rect kField{40, 100, 440, 136};
// Rows without details are 34 high, the first starting 4 below the list's top, which is 4
// below the field.
constexpr double kFirstRowY = 136 + 4 + 4;
Point row_point(std::size_t row) { return {200, kFirstRowY + 34.0 * static_cast<double>(row) + 17}; }

Autocomplete open_field(std::vector<std::string> labels) {
  Autocomplete a = Autocomplete::create().with_id("maps_download_search").with_placeholder("Search a place");
  a.set_rect(kField);
  a.begin_edit();
  a.set_suggestions(std::move(labels));
  a.set_suggestions_open(true);
  return a;
}

bool press(Autocomplete& a, Point at) {
  a.handle_event(PointerMoved{at}, {});
  return a.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {});
}

// Moving over the suggestions, or moving the highlight with the keys, is no outcome: the
// dropdown must stay open so that a suggestion can be chosen.
TEST(Autocomplete, PointerOverTheSuggestionsIsNoOutcomeAndKeepsThemOpen) {
  Autocomplete a = open_field({"München", "Münster", "Mülheim"});
  for (std::size_t row : {0u, 2u, 1u}) {
    a.handle_event(PointerMoved{row_point(row)}, {});
    EXPECT_EQ(a.take_outcome(), std::nullopt);
    EXPECT_TRUE(a.dropdown_visible());
    EXPECT_EQ(a.highlighted(), row);
  }
  a.handle_event(key(NamedKey::ArrowDown), {});
  EXPECT_EQ(a.take_outcome(), std::nullopt);
  EXPECT_EQ(a.highlighted(), 2u);
  a.handle_event(widget::PointerLeft{}, {});
  EXPECT_EQ(a.take_outcome(), std::nullopt);
  EXPECT_TRUE(a.dropdown_visible());
}

TEST(Autocomplete, KeysMoveTheHighlightAndEnterChoosesIt) {
  Autocomplete a = open_field({"München", "Münster", "Mülheim"});
  a.set_suggestions_open(false);
  // Down opens a closed list with suggestions, on its first row; Up and Down wrap.
  EXPECT_TRUE(a.handle_event(key(NamedKey::ArrowDown), {}));
  EXPECT_TRUE(a.dropdown_visible());
  EXPECT_EQ(a.highlighted(), 0u);
  a.handle_event(key(NamedKey::ArrowUp), {});
  EXPECT_EQ(a.highlighted(), 2u);
  a.handle_event(key(NamedKey::ArrowDown), {});
  a.handle_event(key(NamedKey::ArrowDown), {});
  EXPECT_EQ(a.highlighted(), 1u);
  EXPECT_TRUE(a.handle_event(key(NamedKey::Enter), {}));
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Chosen{"Münster", "Münster"}}));
  EXPECT_EQ(a.text(), "Münster");
  EXPECT_FALSE(a.dropdown_visible());
  EXPECT_TRUE(a.editing());
}

TEST(Autocomplete, EnterWithoutAHighlightSubmitsTheText) {
  Autocomplete a = open_field({"München"});
  a.handle_event(typed("Mün"), {});
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Edited{"Mün"}}));
  EXPECT_TRUE(a.handle_event(key(NamedKey::Enter), {}));
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Submitted{"Mün"}}));
  EXPECT_FALSE(a.dropdown_visible());
}

TEST(Autocomplete, EscapeClosesAnOpenListAndIsLeftOtherwise) {
  Autocomplete a = open_field({"München"});
  EXPECT_TRUE(a.handle_event(key(NamedKey::Escape), {}));
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Closed{}}));
  EXPECT_FALSE(a.handle_event(key(NamedKey::Escape), {}));
  EXPECT_EQ(a.take_outcome(), std::nullopt);
}

TEST(Autocomplete, TypingEditsAndDropsTheHighlight) {
  Autocomplete a = open_field({"München", "Münster"});
  a.handle_event(key(NamedKey::ArrowDown), {});
  a.handle_event(typed("M"), {});
  a.handle_event(typed("ü"), {});
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Edited{"Mü"}}));
  EXPECT_EQ(a.highlighted(), std::nullopt);
  a.handle_event(key(NamedKey::Backspace), {});
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Edited{"M"}}));
  // A caret move is no edit.
  a.handle_event(key(NamedKey::Home), {});
  EXPECT_EQ(a.take_outcome(), std::nullopt);
}

TEST(Autocomplete, PressesChooseARowEditTheFieldOrCloseTheList) {
  Autocomplete a = open_field({"München", "Münster", "Mülheim"});
  EXPECT_TRUE(press(a, row_point(2)));
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Chosen{"Mülheim", "Mülheim"}}));
  EXPECT_EQ(a.text(), "Mülheim");

  // A press outside the field and the list closes the list and is left for what lies below.
  a.set_suggestions_open(true);
  EXPECT_FALSE(press(a, {20, 400}));
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Closed{}}));
  EXPECT_FALSE(press(a, {20, 400}));
  EXPECT_EQ(a.take_outcome(), std::nullopt);  // nothing was open

  // A press in the field of a closed autocomplete begins editing.
  a.close();
  EXPECT_FALSE(a.editing());
  EXPECT_FALSE(a.handle_event(typed("x"), {}));
  EXPECT_TRUE(press(a, {60, 118}));
  EXPECT_TRUE(a.editing());
  EXPECT_TRUE(a.input().focused);
  a.handle_event(typed("!"), {});
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Edited{"Mülheim!"}}));
}

TEST(Autocomplete, APressAfterClosingNeedsAFreshPointer) {
  Autocomplete a = open_field({"München"});
  a.handle_event(PointerMoved{row_point(0)}, {});
  a.close();
  a.begin_edit();
  a.set_suggestions_open(true);
  EXPECT_FALSE(a.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {}));
  EXPECT_EQ(a.take_outcome(), std::nullopt);
}

TEST(Autocomplete, ShowsAtMostSixRowsWithTheirDetails) {
  std::vector<ListItem> items;
  for (int i = 0; i < 9; ++i) {
    items.push_back(ListItem::create("Place " + std::to_string(i), "id" + std::to_string(i)).with_detail("Bavaria"));
  }
  Autocomplete a = open_field({});
  a.set_suggestion_items(items);
  ASSERT_TRUE(a.dropdown_rect());
  EXPECT_EQ(*a.dropdown_rect(), (Rect{40, 140, 440, 140 + 8 + 6 * 46.0}));
  EXPECT_EQ(a.row_at({200, 144 + 5 * 46.0 + 1}), 5u);
  EXPECT_EQ(a.row_at({200, 144 + 6 * 46.0 + 1}), std::nullopt);
  a.handle_event(key(NamedKey::ArrowUp), {});
  EXPECT_EQ(a.highlighted(), 5u);  // the last row shown
  a.handle_event(key(NamedKey::Enter), {});
  EXPECT_EQ(a.take_outcome(), (Outcome{Outcome::Chosen{"id5", "Place 5"}}));

  PaintFixture f;
  a.set_suggestions_open(true);
  a.handle_event(PointerMoved{{200, 144 + 46.0 + 1}}, {});
  a.draw_overlay(f.scene, Affine::identity(), f.ctx());
  const auto runs = f.runs();
  ASSERT_EQ(runs.size(), 12u);  // six labels, six details
  EXPECT_EQ(runs[0].text, "Place 0");
  EXPECT_EQ(runs[1].text, "Bavaria");
  EXPECT_EQ(runs[1].color, f.theme.text_secondary);
  EXPECT_EQ(runs[10].text, "Place 5");
  const auto fills = f.fills();
  const auto hover =
      std::find_if(fills.begin(), fills.end(), [&](const scene::Fill& x) { return x.color == f.theme.hover; });
  ASSERT_NE(hover, fills.end());
  EXPECT_EQ(std::get<RoundedRect>(hover->shape).rect, (Rect{44, 190, 436, 236}));
}

TEST(Autocomplete, FieldBoxHoldsTheTextInsideIt) {
  Autocomplete a = open_field({});
  EXPECT_EQ(a.input().rect(), (Rect{50, 100, 430, 136}));
  a.set_rect(kField.translate({10, 20}));
  EXPECT_EQ(a.input().rect(), (Rect{60, 120, 440, 156}));

  PaintFixture f;
  a.text_size = 14.0f;
  a.draw(f.scene, Affine::identity(), f.ctx());
  const auto strokes = f.strokes();
  ASSERT_EQ(strokes.size(), 1u);
  EXPECT_EQ(strokes[0].color, f.theme.focus);  // editing
  ASSERT_EQ(f.runs().size(), 1u);
  EXPECT_EQ(f.runs()[0].text, "Search a place");
  EXPECT_EQ(f.runs()[0].size, 14.0f);
  EXPECT_TRUE(f.focus.caret);

  // Nothing shows under a closed or empty list.
  f.scene.clear();
  a.draw_overlay(f.scene, Affine::identity(), f.ctx());
  EXPECT_TRUE(f.scene.empty());
}

}  // namespace
}  // namespace zarn_ui::widgets

// The search box and its suggestion list: what the overlay draws and records, and how keys,
// composed text and presses reach the box's field at the application's level.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_input_fixture.hpp"
#include "display_list.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace display_list;
using namespace std::chrono_literals;
namespace ev = zarn_ui::widget;
using zarn_ui::theme::Theme;

std::vector<HitTarget> box_targets(const MapsApp& app) {
  std::vector<HitTarget> out;
  for (const auto& t : app.hit_targets) {
    if (std::holds_alternative<msg::SearchBox>(t.message.value)) out.push_back(t);
  }
  return out;
}

UiMessage box_message(SearchBoxEvent e) { return UiMessage{msg::SearchBox{std::move(e)}}; }

std::vector<Place> places(int n) {
  std::vector<Place> out;
  for (int i = 0; i < n; ++i) {
    out.push_back({"p" + std::to_string(i),
                   "Place " + std::to_string(i),
                   Category::Cafe,
                   "Street " + std::to_string(i),
                   {48.13 + 0.001 * i, 11.57},
                   false});
  }
  return out;
}

TEST(SearchBoxPaint, BoxFieldAndClearButton) {
  for (double width : {1280.0, 400.0}) {
    AppFixture f(default_map_model(), {0, 0, width, 800});
    const Rect r = search_box_rect(f.app->bounds_rect);
    f.draw();
    auto targets = box_targets(*f.app);
    ASSERT_EQ(targets.size(), 1u) << "no clear button without a query, at " << width;
    EXPECT_EQ(targets[0], (HitTarget{r, box_message({SearchBoxEvent::Opened{}})}));
    EXPECT_EQ(f.app->search_box.input().rect(), (Rect{r.x0 + 36, r.y0, r.x1 - 34, r.y1}));
    EXPECT_FALSE(f.app->search_box.input().focused);
    EXPECT_TRUE(f.app->search_box.hits().empty()) << "the hits were handed on";

    f.model().query = "cafe";
    f.app->search_box.open();
    const auto scene = f.draw();
    targets = box_targets(*f.app);
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[1],
              (HitTarget{{r.x1 - 32, r.y0 + 10, r.x1 - 10, r.y1 - 10}, box_message({SearchBoxEvent::Cleared{}})}));
    EXPECT_TRUE(f.app->search_box.input().focused) << "the open box's field has the keys";
    EXPECT_EQ(f.app->search_box.input().text(), "cafe");
    EXPECT_TRUE(has_text(scene, "cafe"));
  }
}

TEST(SearchBoxPaint, SuggestionsShowSixRowsAndCoverThePanel) {
  AppFixture f;
  f.model().query = "pla";
  f.model().selected = "p2";
  f.app->search_box.open();
  f.app->search_box.set_search_suggestions(places(9));
  const Theme theme = Theme::light();
  const auto scene = f.draw(theme);
  const Rect r = search_box_rect(f.app->bounds_rect);
  const auto targets = box_targets(*f.app);
  // The box, its clear button, the list's card, then one row per shown suggestion.
  ASSERT_EQ(targets.size(), 3u + 6u);
  EXPECT_EQ(targets[2],
            (HitTarget{{r.x0, r.y1 + 6, r.x1, r.y1 + 18 + 46 * 6}, box_message({SearchBoxEvent::Other{}})}));
  for (std::uint64_t i = 0; i < 6; ++i) {
    const double y = r.y1 + 12 + 46.0 * static_cast<double>(i);
    EXPECT_EQ(targets[3 + i],
              (HitTarget{{r.x0 + 6, y, r.x1 - 6, y + 44}, box_message({SearchBoxEvent::SuggestionChosen{i}})}));
  }
  EXPECT_FALSE(has_text(scene, "Place 6"));
  EXPECT_FALSE(has_text(scene, "Places")) << "the side panel is not drawn under the list";
  const auto tinted = filled_rects(scene, theme.accent.multiply_alpha(0.12f));
  ASSERT_EQ(tinted.size(), 1u);
  EXPECT_EQ(tinted[0].y0, r.y1 + 12 + 46 * 2) << "the selected place's row";

  // A blank query shows no list, whatever the suggestions.
  f.model().query = "  ";
  const auto blank = f.draw(theme);
  EXPECT_FALSE(has_text(blank, "Place 0"));
  EXPECT_TRUE(has_text(blank, "Places"));
}

TEST(SearchBoxTyping, EditsReachTheQueryAndTheDeadline) {
  AppFixture f;
  f.app->search_box.open();
  f.draw();
  f.text("C");
  f.text("a");
  f.text("f");
  f.text("\u00e9");
  EXPECT_EQ(f.model().query, "Caf\u00e9");
  EXPECT_EQ(f.app->search_box.deadline(), f.now() + 280ms);
  f.advance(100ms);
  f.key(ev::NamedKey::Backspace);
  EXPECT_EQ(f.model().query, "Caf") << "backspace removes the whole character";
  EXPECT_EQ(f.app->search_box.deadline(), f.now() + 280ms) << "every change moves the deadline";
  f.key(ev::NamedKey::Home);
  f.key(ev::NamedKey::Delete);
  EXPECT_EQ(f.model().query, "af");
  f.clipboard.contents = "Marienplatz 1\nMünchen";
  f.send(ev::Key{"v", true}, ev::modifiers::kControl);
  EXPECT_EQ(f.model().query, "Marienplatz 1 M\u00fcnchenaf") << "a paste lands at the caret on one line";
  // Select everything and copy it out, then cut it: the query empties and the search is off.
  f.send(ev::Key{"a", true}, ev::modifiers::kControl);
  f.send(ev::Key{"x", true}, ev::modifiers::kControl);
  EXPECT_EQ(f.clipboard.contents, "Marienplatz 1 M\u00fcnchenaf");
  EXPECT_EQ(f.model().query, "");
  EXPECT_FALSE(f.app->search_box.deadline());
  EXPECT_TRUE(f.app->search_box.suggestions().empty());
}

TEST(SearchBoxTyping, OpeningWithSlashSelectsTheLastQuery) {
  AppFixture f;
  f.model().query = "Marienplatz";
  f.draw();
  f.text("/");
  ASSERT_TRUE(f.app->search_box.is_open());
  f.draw();
  f.text("x");
  EXPECT_EQ(f.model().query, "x") << "typing replaces the selected query";
}

TEST(SearchBoxTyping, ArrowKeysPointAtASuggestionThatEnterChooses) {
  AppFixture f(sample_map_model());
  f.model().query = "ma";
  f.model().selected.reset();
  f.app->search_box.open();
  std::vector<Place> list = {f.model().places[0], f.model().places[1], f.model().places[2]};
  f.app->search_box.set_search_suggestions(list);
  f.draw();
  f.key(ev::NamedKey::ArrowDown);
  f.key(ev::NamedKey::ArrowDown);
  f.key(ev::NamedKey::ArrowDown);
  f.key(ev::NamedKey::ArrowDown);
  EXPECT_EQ(f.app->search_box.highlighted(), 0u) << "Down wraps from the last row to the first";
  f.key(ev::NamedKey::ArrowUp);
  EXPECT_EQ(f.app->search_box.highlighted(), 2u);
  const Theme theme = Theme::light();
  EXPECT_EQ(filled_rects(f.draw(theme), theme.hover).size(), 1u) << "the pointed row is shown";
  f.key(ev::NamedKey::Enter);
  EXPECT_EQ(f.model().selected, list[2].id);
  EXPECT_FALSE(f.app->search_box.is_open());
  ASSERT_EQ(f.commits.size(), 2u);
  EXPECT_EQ(f.commits[0], (MapsAction{MapsAction::UpsertPlaces{{list[2]}}})) << "the place is stored";
  EXPECT_EQ(f.commits[1], (MapsAction{MapsAction::CommitSearch{list[2].name}})) << "and the search recorded";
}

TEST(SearchBoxTyping, ASuggestionChosenWithTheMouse) {
  AppFixture f(sample_map_model());
  f.model().query = "ma";
  f.app->search_box.open();
  const std::vector<Place> list = {f.model().places[3], f.model().places[4]};
  f.app->search_box.set_search_suggestions(list);
  f.draw();
  const Rect r = search_box_rect(f.app->bounds_rect);
  f.click(r.x0 + 50, r.y1 + 12 + 46 + 20);  // the second row
  EXPECT_EQ(f.model().selected, list[1].id);
  EXPECT_FALSE(f.app->search_box.is_open());
  ASSERT_EQ(f.commits.size(), 2u);
  EXPECT_EQ(f.commits[1], (MapsAction{MapsAction::CommitSearch{list[1].name}}));
}

TEST(SearchBoxTyping, APressPlacesTheCaretAndADragSelects) {
  AppFixture f;
  f.model().query = "abcdef";
  f.draw();
  const Rect field = f.app->search_box.input().rect();
  // The fixed renderer's characters are 7 px wide; the text starts 2 px into the field.
  const double y = (field.y0 + field.y1) / 2;
  f.move(field.x0 + 2 + 2 * 7, y);
  f.press();
  EXPECT_TRUE(f.app->search_box.is_open());
  EXPECT_EQ(f.app->search_box.input().caret_, 2u);
  f.move(field.x0 + 2 + 5 * 7, y);
  f.release();
  f.move(field.x0 + 2 + 6 * 7, y);  // after the release the selection stays
  EXPECT_EQ(f.app->search_box.input().selection(), (std::pair<std::size_t, std::size_t>{2, 5}));
  f.text("X");
  EXPECT_EQ(f.model().query, "abXf");
}

TEST(SearchBoxTyping, ComposedTextGoesToTheFieldWithTheKeys) {
  AppFixture f;
  EXPECT_FALSE(f.send(ev::TextEditing{"ü", 1, 0})) << "no field has the keys";
  f.app->search_box.open();
  f.draw();
  EXPECT_TRUE(f.send(ev::TextEditing{"ü", 1, 0}));
  EXPECT_EQ(f.app->search_box.input().composition(), "ü");
  EXPECT_EQ(f.model().query, "") << "composition is not text yet";
  f.text("ü");
  EXPECT_EQ(f.model().query, "ü");
  EXPECT_EQ(f.app->search_box.input().composition(), "");

  f.app->search_box.close();
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Destination);
  EXPECT_TRUE(f.send(ev::TextEditing{"ß", 1, 0}));
  EXPECT_EQ(f.app->endpoint_editor.input(EndpointField::Destination).composition(), "ß");
  EXPECT_EQ(f.app->search_box.input().composition(), "");
}

}  // namespace
}  // namespace maps

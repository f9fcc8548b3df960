// The endpoint fields at the application's level: presses on what the directions panel and the
// overlay drew, keys in the edited field, and the suggestion list under it.

#include <gtest/gtest.h>

#include "app_input_fixture.hpp"
#include "display_list.hpp"
#include "sample/sample_data.hpp"

namespace maps {
namespace {

using input_testing::AppFixture;
using namespace display_list;
using namespace std::chrono_literals;
namespace ev = zarn_ui::widget;

MapModel directions_model() {
  MapModel m = sample_map_model();
  m.panel = Panel::Directions;
  return m;
}

Point centre(const Rect& r) { return {(r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2}; }

TEST(EndpointInput, PressTypeSubmitAndEscape) {
  AppFixture f(directions_model());
  f.app->search_box.open();
  f.draw();
  const Rect origin = f.app->endpoint_editor.box(EndpointField::Origin).value();
  // The open search box has no list, so the panel shows; a press on the origin box edits it.
  f.click(centre(origin).x, centre(origin).y);
  const EndpointEditor& editor = f.app->endpoint_editor;
  EXPECT_EQ(editor.active(), EndpointField::Origin);
  EXPECT_FALSE(f.app->search_box.is_open()) << "editing an endpoint closes the search box";
  EXPECT_TRUE(editor.input(EndpointField::Origin).focused);
  EXPECT_EQ(editor.input(EndpointField::Origin).text(), "") << "the edited field empties";

  f.draw();
  struct Step {
    ev::Event event;
    std::uint32_t modifiers;
    std::string text;
    bool deadline;
  } steps[] = {
      {ev::Key{"M", true}, 0, "M", true},
      {ev::Key{"ü", true}, 0, "Mü", true},
      {ev::Key{ev::NamedKey::Backspace, true}, 0, "M", true},
      {ev::Key{ev::NamedKey::Backspace, true}, 0, "", false},
      {ev::Key{" ", true}, 0, " ", false},
      {ev::Key{"v", true}, ev::modifiers::kControl, " Odeonsplatz", true},
  };
  f.clipboard.contents = "Odeonsplatz";
  for (const auto& s : steps) {
    f.send(s.event, s.modifiers);
    EXPECT_EQ(editor.text(EndpointField::Origin), s.text) << s.text;
    EXPECT_EQ(editor.deadline().has_value(), s.deadline) << s.text;
  }
  f.key(ev::NamedKey::Enter);
  EXPECT_FALSE(editor.deadline()) << "Enter submits at once";
  EXPECT_EQ(editor.active(), EndpointField::Origin);
  f.key(ev::NamedKey::Escape);
  EXPECT_FALSE(editor.editing());
  EXPECT_FALSE(editor.input(EndpointField::Origin).focused);
}

TEST(EndpointInput, SuggestionsUnderTheEditedFieldAndTheSwapButton) {
  AppFixture f(directions_model());
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Destination);
  const std::vector<Place> places = sample_places();
  f.app->endpoint_editor.set_endpoint_suggestions(EndpointField::Destination, places);
  const auto scene = f.draw();
  const Rect dest = f.app->endpoint_editor.box(EndpointField::Destination).value();
  std::vector<EndpointHit> rows;
  for (const auto& h : f.app->endpoint_editor.hits()) {
    if (h.kind == EndpointHitKind::SuggestionRow) rows.push_back(h);
  }
  ASSERT_EQ(rows.size(), std::min<std::size_t>(places.size(), 6));
  EXPECT_EQ(rows[0].rect, (Rect{dest.x0 + 6, dest.y1 + 12, dest.x1 - 6, dest.y1 + 56}));
  EXPECT_EQ(rows[0].field, EndpointField::Destination);
  EXPECT_TRUE(has_text(scene, places[0].name));

  // The list lies over the panel's own controls and takes the press.
  f.click(centre(rows[1].rect).x, centre(rows[1].rect).y);
  EXPECT_FALSE(f.app->endpoint_editor.editing());
  EXPECT_TRUE(f.app->endpoint_editor.suggestions(EndpointField::Destination).empty());

  // Typed text without suggestions yet shows "Searching…" under the field.
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
  f.draw();
  f.text("x");
  EXPECT_TRUE(has_text(f.draw(), "Searching\u2026"));

  const Point swap = centre(Rect{390 - 34, 134 + 20, 390, 134 + 68});
  f.click(swap.x, swap.y);
  EXPECT_FALSE(f.app->endpoint_editor.editing()) << "the swap ends the edit";
}

// A search of the field that ends without a place says so under the field, for as long as
// the field holds that text; it no longer reads "Searching…" with nothing to come.
TEST(EndpointInput, TheCardSaysWhenTheFieldsSearchFoundNothingOrFailed) {
  AppFixture f(directions_model());
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
  f.draw();
  f.text("Karlsplatz");
  EXPECT_TRUE(has_text(f.draw(), "Searching\u2026"));
  const auto answer = [&f](base::Result<std::vector<Place>> result, const std::string& query, EndpointField field) {
    f.app->backend.result_sender.send(worker::EndpointSearch{std::move(result), query, field});
    f.app->tick(f.state);
  };

  // Answers for an earlier text or for the other field leave the card waiting.
  answer(std::vector<Place>{}, "Karls", EndpointField::Origin);
  answer(std::vector<Place>{}, "Karlsplatz", EndpointField::Destination);
  EXPECT_TRUE(has_text(f.draw(), "Searching\u2026"));

  answer(std::vector<Place>{}, "Karlsplatz", EndpointField::Origin);
  const auto found_nothing = f.draw();
  EXPECT_TRUE(has_text(found_nothing, "No matching places"));
  EXPECT_FALSE(has_text(found_nothing, "Searching\u2026"));

  // Typing on starts a search of its own.
  f.text(" 1");
  EXPECT_TRUE(has_text(f.draw(), "Searching\u2026"));
  answer(base::err(base::ErrorKind::ServiceError, "HTTP 500 Internal Server Error", 500), "Karlsplatz 1",
         EndpointField::Origin);
  EXPECT_TRUE(has_text(f.draw(), "Search failed"));

  // Places found later replace the text with their rows.
  answer(sample_places(), "Karlsplatz 1", EndpointField::Origin);
  const auto rows = f.draw();
  EXPECT_FALSE(has_text(rows, "Search failed"));
  EXPECT_TRUE(has_text(rows, sample_places()[0].name));
}

TEST(EndpointInput, ArrowKeysPointAtASuggestionThatEnterChooses) {
  AppFixture f(directions_model());
  EndpointEditor& editor = f.app->endpoint_editor;
  editor.begin_endpoint_edit(EndpointField::Destination);
  const std::vector<Place> list = {sample_places()[1], sample_places()[2], sample_places()[3]};
  editor.set_endpoint_suggestions(EndpointField::Destination, list);
  f.draw();
  f.key(ev::NamedKey::ArrowUp);
  EXPECT_EQ(editor.highlighted(), 2u) << "Up from none starts at the last row";
  f.key(ev::NamedKey::ArrowDown);
  EXPECT_EQ(editor.highlighted(), 0u) << "Down wraps from the last row to the first";
  f.key(ev::NamedKey::ArrowDown);
  EXPECT_EQ(editor.highlighted(), 1u);
  EXPECT_TRUE(editor.editing()) << "the arrows neither end the edit nor pan the map";
  const zarn_ui::theme::Theme theme = zarn_ui::theme::Theme::light();
  EXPECT_EQ(filled_rects(f.draw(theme), theme.hover).size(), 1u) << "the pointed row is shown";

  // Typing changes the list the highlight pointed into: it starts again from none.
  f.text("x");
  EXPECT_FALSE(editor.highlighted());
  editor.set_endpoint_suggestions(EndpointField::Destination, list);
  f.draw();
  f.key(ev::NamedKey::ArrowDown);
  f.key(ev::NamedKey::ArrowDown);
  f.key(ev::NamedKey::Enter);
  EXPECT_FALSE(editor.editing());
  EXPECT_FALSE(editor.highlighted());
  EXPECT_TRUE(editor.suggestions(EndpointField::Destination).empty());
  EXPECT_EQ(f.model().dest_name, list[1].name);
  EXPECT_EQ(f.model().selected, list[1].id);
}

TEST(EndpointInput, EnterWithoutAPointedRowSubmitsTheText) {
  AppFixture f(directions_model());
  EndpointEditor& editor = f.app->endpoint_editor;
  editor.begin_endpoint_edit(EndpointField::Origin);
  f.draw();
  f.text("Odeon");
  editor.set_endpoint_suggestions(EndpointField::Origin, {sample_places()[0]});
  f.draw();
  f.key(ev::NamedKey::Enter);
  EXPECT_TRUE(editor.editing()) << "a submit keeps the field open for its answers";
  EXPECT_EQ(f.model().status, "Searching\u2026");
}

TEST(EndpointInput, AFieldScrolledOutOfViewAnchorsNoList) {
  AppFixture f(directions_model(), {0, 0, 1280, 500});
  f.app->endpoint_editor.begin_endpoint_edit(EndpointField::Origin);
  f.app->endpoint_editor.set_endpoint_suggestions(EndpointField::Origin, sample_places());
  f.draw();
  f.app->side_panel.scroll_by(200);
  f.draw();
  EXPECT_FALSE(f.app->endpoint_editor.box(EndpointField::Origin));
  for (const auto& h : f.app->endpoint_editor.hits()) EXPECT_NE(h.kind, EndpointHitKind::SuggestionRow);
}

}  // namespace
}  // namespace maps

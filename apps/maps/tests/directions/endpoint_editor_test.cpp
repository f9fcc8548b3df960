#include "directions/endpoint_editor.hpp"

#include <gtest/gtest.h>

#include "draw_kit/text_field.hpp"

namespace maps {
namespace {

using enum EndpointField;

TEST(EndpointEditor, TextsReachTheCopiesAndOnlyTheEditedFieldShowsThem) {
  EndpointEditor editor;
  editor.set_endpoint_texts("Marienplatz", "Odeonsplatz");
  EXPECT_EQ(editor.text(Origin), "Marienplatz");
  EXPECT_EQ(editor.text(Destination), "Odeonsplatz");
  EXPECT_EQ(editor.input(Origin).text(), "") << "no field is being edited";
  EXPECT_EQ(editor.input(Destination).text(), "");

  editor.begin_endpoint_edit(Destination);
  EXPECT_EQ(editor.text(Destination), "") << "the edited field starts empty";
  editor.set_endpoint_texts("Stachus", "Odeon");
  EXPECT_EQ(editor.text(Origin), "Stachus");
  EXPECT_EQ(editor.input(Origin).text(), "") << "the other field keeps its input";
  EXPECT_EQ(editor.input(Destination).text(), "Odeon");
}

TEST(EndpointEditor, EditingAFieldAgainEmptiesItAndResettingEndsTheEdit) {
  EndpointEditor editor;
  editor.set_endpoint_suggestions(Origin, {Place{"a", "A", Category::Cafe, "", {}, false}});
  editor.begin_endpoint_edit(Origin);
  EXPECT_EQ(editor.active(), Origin);
  EXPECT_TRUE(editor.suggestions(Origin).empty());
  EXPECT_TRUE(editor.input(Origin).focused);

  const auto now = base::MonoTime{} + std::chrono::seconds(5);
  const auto typed = editor.field_key(zarn_ui::widget::Key{"K", true}, zarn_ui::widgets::EventCtx{}, now);
  ASSERT_TRUE(typed);
  EXPECT_EQ(*typed, (EndpointEvent{EndpointEvent::TextEdited{"K", Origin}}));
  EXPECT_EQ(editor.deadline(), now + kTypingPause);

  editor.begin_endpoint_edit(Origin);
  EXPECT_EQ(editor.text(Origin), "");
  EXPECT_EQ(editor.input(Origin).text(), "");
  EXPECT_FALSE(editor.deadline());

  editor.reset_endpoint_editor();
  EXPECT_EQ(editor.active(), None);
  EXPECT_FALSE(editor.editing());
  EXPECT_FALSE(editor.input(Origin).focused);
  EXPECT_FALSE(editor.input(Destination).focused);
}

TEST(EndpointEditor, TakingASuggestionEmptiesOnlyThatList) {
  EndpointEditor editor;
  const Place a{"a", "A", Category::Cafe, "", {}, false};
  const Place b{"b", "B", Category::Park, "", {}, false};
  editor.set_endpoint_suggestions(Origin, {a});
  editor.set_endpoint_suggestions(Destination, {a, b});
  EXPECT_FALSE(editor.take_suggestion(Destination, 2)) << "no such row";
  EXPECT_EQ(editor.suggestions(Destination).size(), 2u);
  EXPECT_EQ(editor.take_suggestion(Destination, 1), b);
  EXPECT_TRUE(editor.suggestions(Destination).empty());
  EXPECT_EQ(editor.suggestions(Origin).size(), 1u);
}

TEST(EndpointField, OtherFieldSwapsTheTwo) {
  EXPECT_EQ(other_field(Origin), Destination);
  EXPECT_EQ(other_field(Destination), Origin);
}

}  // namespace
}  // namespace maps

// What the text field draws (recorded with a fake renderer of 10 px per character) and where a
// press or a drag puts the caret.

#include <gtest/gtest.h>

#include "field_fixture.hpp"
#include "paint_fixture.hpp"
#include "zarn_ui/offscreen.hpp"
#include "zarn_ui/text_input.hpp"

namespace zarn_ui::widgets {
namespace {

using testing::focused_field;
using testing::key;
using testing::marked;
using testing::PaintFixture;
using testing::typed;
using widget::MouseButton;
using widget::MouseButtonEvent;
using widget::NamedKey;
using widget::PointerMoved;

// 20 characters of room: 100 .. 304 less the padding on both sides.
const Rect kField{100, 10, 304, 40};
constexpr double kTextLeft = 100 + TextInput::kPadding;

TEST(TextInputDraw, InactiveFieldShowsTextOrPlaceholderOnly) {
  PaintFixture f;
  TextInput field = TextInput::local();
  field.set_placeholder("Choose destination");
  field.set_rect(kField);
  field.text_size = 13.0f;
  field.draw(f.scene, Affine::identity(), f.ctx());
  ASSERT_EQ(f.scene.size(), 1u);
  const scene::TextRun hint = f.runs().at(0);
  EXPECT_EQ(hint.text, "Choose destination");
  EXPECT_EQ(hint.color, f.theme.muted);
  EXPECT_EQ(hint.size, 13.0f);
  EXPECT_EQ(hint.max_width, 200.0);  // shortened to the field
  EXPECT_EQ(hint.transform.translation(), (Vec2{kTextLeft, 10 + (30 - 1.25 * 13) / 2}));

  field.set_text("Marienplatz");
  f.scene.clear();
  field.draw(f.scene, Affine::translate(5, 7), f.ctx());
  ASSERT_EQ(f.scene.size(), 1u);
  EXPECT_EQ(f.runs().at(0).text, "Marienplatz");
  EXPECT_EQ(f.runs().at(0).color, f.theme.text);
  EXPECT_EQ(f.runs().at(0).transform.translation().x, kTextLeft + 5);
  EXPECT_FALSE(f.focus.caret);  // no caret reported to the window
}

TEST(TextInputDraw, FocusedFieldClipsAndShowsCaretAndSelection) {
  PaintFixture f;
  TextInput field = focused_field("ab^cd|e");
  field.set_rect(kField);
  field.draw(f.scene, Affine::identity(), f.ctx());
  const auto& items = f.scene.items();
  ASSERT_FALSE(items.empty());
  ASSERT_TRUE(std::holds_alternative<scene::PushLayer>(items.front()));
  EXPECT_EQ(std::get<scene::PushLayer>(items.front()).clip, Shape(kField));
  EXPECT_TRUE(std::holds_alternative<scene::PopLayer>(items.back()));

  const auto fills = f.fills();
  ASSERT_EQ(fills.size(), 2u);  // the selection under the text, the caret over it
  const Rect selection = std::get<Rect>(fills[0].shape);
  EXPECT_EQ(selection.x0, kTextLeft + 20);
  EXPECT_EQ(selection.x1, kTextLeft + 40);
  EXPECT_EQ(fills[0].color, f.theme.accent.multiply_alpha(0.3f));
  const Rect caret = std::get<Rect>(fills[1].shape);
  EXPECT_DOUBLE_EQ(caret.center().x, kTextLeft + 40);
  ASSERT_EQ(f.runs().size(), 1u);
  EXPECT_EQ(f.runs()[0].text, "abcde");
  EXPECT_FALSE(f.runs()[0].max_width);

  // The window learns where the caret is, in window coordinates.
  ASSERT_TRUE(f.focus.caret);
  EXPECT_DOUBLE_EQ(f.focus.caret->center().x, kTextLeft + 40);
  f.focus = {};
  f.scene.clear();
  field.draw(f.scene, Affine::translate(0, 100), f.ctx());
  EXPECT_DOUBLE_EQ(f.focus.caret->center().y, caret.center().y + 100);
}

TEST(TextInputDraw, EmptyFocusedFieldShowsPlaceholderAndCaret) {
  PaintFixture f;
  TextInput field = focused_field("|");
  field.set_placeholder("Search places, addresses…");
  field.set_rect(kField);
  field.draw(f.scene, Affine::identity(), f.ctx());
  ASSERT_EQ(f.runs().size(), 1u);
  EXPECT_EQ(f.runs()[0].text, "Search places, addresses…");
  EXPECT_EQ(f.runs()[0].color, f.theme.muted);
  ASSERT_EQ(f.fills().size(), 1u);
  EXPECT_DOUBLE_EQ(std::get<Rect>(f.fills()[0].shape).center().x, kTextLeft);
}

TEST(TextInputDraw, ScrollsToKeepTheCaretVisible) {
  PaintFixture f;
  TextInput field = focused_field("|");
  field.set_rect(kField);
  field.set_text("abcdefghijklmnopqrstuvwxyz");  // 260 px in 200 px of room, caret at the end
  field.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_DOUBLE_EQ(field.scroll(), 60.0);
  EXPECT_DOUBLE_EQ(f.runs()[0].transform.translation().x, kTextLeft - 60);
  EXPECT_DOUBLE_EQ(std::get<Rect>(f.fills()[0].shape).center().x, kTextLeft + 200);  // at the right edge

  // Moving left inside the visible part does not scroll; past its left edge it does.
  for (int i = 0; i < 10; ++i) field.handle_event(key(NamedKey::ArrowLeft), {});
  field.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_DOUBLE_EQ(field.scroll(), 60.0);
  field.handle_event(key(NamedKey::Home), {});
  field.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_DOUBLE_EQ(field.scroll(), 0.0);

  // Deleting text pulls a scrolled line back so that no room is wasted at the end.
  field.handle_event(key(NamedKey::End), {});
  field.draw(f.scene, Affine::identity(), f.ctx());
  for (int i = 0; i < 4; ++i) field.handle_event(key(NamedKey::Backspace), {});
  field.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_DOUBLE_EQ(field.scroll(), 20.0);

  // An inactive field shows its start.
  field.focused = false;
  field.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_DOUBLE_EQ(field.scroll(), 0.0);
}

TEST(TextInputDraw, CompositionIsDrawnAtTheCaretUnderlined) {
  PaintFixture f;
  TextInput field = focused_field("東京|");
  field.set_rect(kField);
  field.handle_event(widget::TextEditing{"たわ", 1, 0}, {});
  field.draw(f.scene, Affine::identity(), f.ctx());
  ASSERT_EQ(f.runs().size(), 1u);
  EXPECT_EQ(f.runs()[0].text, "東京たわ");
  const auto strokes = f.strokes();
  ASSERT_EQ(strokes.size(), 1u);
  const Line underline = std::get<Line>(strokes[0].shape);
  EXPECT_EQ(underline.p0.x, kTextLeft + 20);
  EXPECT_EQ(underline.p1.x, kTextLeft + 40);
  // The caret sits inside the composition where the input method put it.
  EXPECT_DOUBLE_EQ(std::get<Rect>(f.fills().back().shape).center().x, kTextLeft + 30);
}

TEST(TextInputPointer, PressPlacesTheCaretAndDragSelects) {
  PaintFixture f;
  TextInput field = focused_field("Marienplatz|");
  field.set_rect(kField);
  field.draw(f.scene, Affine::identity(), f.ctx());
  const EventCtx at_2x{0, 2.0, nullptr};
  const auto move = [&](double x) { return field.handle_event(PointerMoved{{2 * x, 2 * 25.0}}, at_2x); };
  const auto button = [&](bool down, std::uint32_t modifiers = 0) {
    return field.handle_event(MouseButtonEvent{MouseButton::Primary, down}, {modifiers, 2.0, nullptr});
  };

  // Logical x 124 is 22 px into the text: nearer the boundary at 20 than the one at 30.
  move(kTextLeft + 22);
  EXPECT_TRUE(button(true));
  EXPECT_EQ(marked(field), "Ma|rienplatz");
  EXPECT_TRUE(move(kTextLeft + 58));
  EXPECT_EQ(marked(field), "Ma^rien|platz");
  EXPECT_TRUE(button(false));
  EXPECT_FALSE(move(kTextLeft + 100));  // no drag after the release
  EXPECT_EQ(marked(field), "Ma^rien|platz");

  // Shift with a press extends the selection; a press past the end puts the caret there.
  move(kTextLeft + 91);
  button(true, widget::modifiers::kShift);
  button(false);
  EXPECT_EQ(marked(field), "Ma^rienpla|tz");
  move(kTextLeft + 150);
  button(true);
  button(false);
  EXPECT_EQ(marked(field), "Marienplatz|");
}

TEST(TextInputPointer, PressesOutsideOrOnAnInactiveFieldAreNotTaken) {
  PaintFixture f;
  TextInput field = focused_field("ab|c");
  field.set_rect(kField);
  field.draw(f.scene, Affine::identity(), f.ctx());
  // The pointer is not known yet.
  EXPECT_FALSE(field.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {}));
  field.handle_event(PointerMoved{{50, 25}}, {});
  EXPECT_FALSE(field.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {}));
  field.handle_event(PointerMoved{{kTextLeft, 25}}, {});
  EXPECT_FALSE(field.handle_event(MouseButtonEvent{MouseButton::Secondary, true}, {}));
  field.focused = false;
  EXPECT_FALSE(field.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {}));
  field.focused = true;
  field.handle_event(typed("x"), {});
  EXPECT_EQ(marked(field), "abx|c");
}

TEST(TextInputPointer, ThePressOfAFieldJustFocusedWinsOverSelectOnFocus) {
  PaintFixture f;
  TextInput field = TextInput::local();
  field.select_on_focus = true;
  field.set_text("Marienplatz");
  field.set_rect(kField);
  field.draw(f.scene, Affine::identity(), f.ctx());
  field.handle_event(PointerMoved{{kTextLeft + 30, 25}}, {});
  field.focused = true;
  EXPECT_TRUE(field.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {}));
  EXPECT_EQ(marked(field), "Mar|ienplatz");
}

TEST(TextInputDraw, TextSizeFollowsTheThemeScaleWithinTheField) {
  TextInput field = TextInput::local();
  field.text_size = 14.0f;
  field.set_rect(kField);
  EXPECT_EQ(field.drawn_size(1.0f), 14.0f);
  EXPECT_EQ(field.drawn_size(1.5f), 21.0f);
  EXPECT_EQ(field.drawn_size(4.0f), 24.0f);  // a 30 px field holds a 24 px line
  field.text_size = -3.0f;
  EXPECT_EQ(field.drawn_size(1.0f), TextInput::kDefaultTextSize);
}

// Right-to-left text keeps to the field's right edge while it fits, focused or not, and its caret
// stands where the line puts the character positions: at the logical end, on the text's left.
// (The fake renderer mirrors a right-to-left line.)
TEST(TextInputDraw, RightToLeftTextKeepsToTheRightAndItsCaretToTheCharacters) {
  const std::string shalom = "\u05e9\u05dc\u05d5\u05dd";  // four letters, 40 px
  PaintFixture f;
  TextInput field = TextInput::local();
  field.set_rect(kField);
  field.set_text(shalom);
  field.focused = true;
  field.draw(f.scene, Affine::identity(), f.ctx());
  const double right = kTextLeft + 200;
  ASSERT_EQ(f.runs().size(), 1u);
  EXPECT_DOUBLE_EQ(f.runs()[0].transform.translation().x, right - 40) << "the line ends at the right edge";
  const auto fills = f.fills();
  ASSERT_FALSE(fills.empty());
  EXPECT_DOUBLE_EQ(std::get<Rect>(fills.back().shape).center().x, right - 40) << "the caret after the last letter";

  // Pressing just right of the text's left end puts the caret at the logical end; near the
  // right end, at the start.
  field.handle_event(PointerMoved{{right - 39, 25}}, {});
  field.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {});
  field.handle_event(MouseButtonEvent{MouseButton::Primary, false}, {});
  EXPECT_EQ(marked(field), shalom + "|");
  field.handle_event(PointerMoved{{right - 1, 25}}, {});
  field.handle_event(MouseButtonEvent{MouseButton::Primary, true}, {});
  field.handle_event(MouseButtonEvent{MouseButton::Primary, false}, {});
  EXPECT_EQ(marked(field), "|" + shalom);
  f.scene.clear();
  field.draw(f.scene, Affine::identity(), f.ctx());
  EXPECT_DOUBLE_EQ(std::get<Rect>(f.fills().back().shape).center().x, right);
}

// With the real renderer: the line shows in the same place whether the field has the focus or
// not, and the caret at the logical end stands left of the letters, the caret at the start right
// of them.
TEST(TextInputDraw, RightToLeftTextDoesNotJumpWhenTheFocusChanges) {
  const std::string shalom = "\u05e9\u05dc\u05d5\u05dd \u05e2\u05d5\u05dc\u05dd";
  auto text = text_render::TextRenderer::create();
  PaintFixture f;
  const auto ink_columns = [&](bool focused) {
    TextInput field = TextInput::local();
    field.set_rect(kField);
    field.set_text(shalom);
    field.focused = focused;
    Scene scene;
    const widget::PaintCtx ctx{text, f.theme, f.presence, f.permissions, nullptr};
    field.draw(scene, Affine::identity(), ctx);
    // Only the text: the caret is not ink of the line.
    Scene letters;
    for (const auto& item : scene.items()) {
      if (std::holds_alternative<scene::TextRun>(item)) letters.add_text(std::get<scene::TextRun>(item));
    }
    auto r = offscreen::OffscreenRenderer::create(320, 50);
    EXPECT_TRUE(r.is_ok());
    r->set_text_renderer(text);
    const auto px = r->render_resilient(letters);
    int lo = 320, hi = -1;
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 320; ++x) {
        if (px[(static_cast<std::size_t>(y) * 320 + x) * 4 + 3] > 128) {
          lo = std::min(lo, x);
          hi = std::max(hi, x);
        }
      }
    }
    return std::pair{lo, hi};
  };
  const auto shown = ink_columns(false), editing = ink_columns(true);
  ASSERT_GE(shown.second, 0);
  EXPECT_NEAR(shown.first, editing.first, 1);
  EXPECT_NEAR(shown.second, editing.second, 1);
  EXPECT_GT(shown.first, kTextLeft + 100) << "kept to the right edge";

  const double full = text.measure(shalom, 15.0f);
  EXPECT_NEAR(text.caret_x(shalom, 15.0f, shalom.size()), 0.0, 0.5);
  EXPECT_NEAR(text.caret_x(shalom, 15.0f, 0), full, 0.5);
  EXPECT_EQ(text.index_at(shalom, 15.0f, full - 0.5), 0u);
  EXPECT_EQ(text.index_at(shalom, 15.0f, 0.5), shalom.size());
  EXPECT_TRUE(text.right_to_left(shalom));
  EXPECT_FALSE(text.right_to_left("Marienplatz"));
  EXPECT_NEAR(text.caret_x("ab", 15.0f, 1), text.measure("a", 15.0f), 0.01);
}

}  // namespace
}  // namespace zarn_ui::widgets

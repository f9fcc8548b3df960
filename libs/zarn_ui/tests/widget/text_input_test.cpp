// Editing in the single-line text field: typing, deleting and moving by whole characters and
// words, selection, the clipboard, input-method text, focus, Enter and the dirty flag.

#include <gtest/gtest.h>

#include "field_fixture.hpp"
#include "zarn_ui/clipboard.hpp"
#include "zarn_ui/text_input.hpp"

namespace zarn_ui::widgets {
namespace {

using testing::focused_field;
using testing::key;
using testing::marked;
using testing::typed;
using widget::NamedKey;
namespace mods = widget::modifiers;

struct EditCase {
  const char* name;
  const char* before;
  widget::Event event;
  std::uint32_t modifiers;
  const char* after;
};

TEST(TextInput, EditsByWholeCharactersAndWords) {
  const EditCase cases[] = {
      {"types at the caret", "ab|c", typed("x"), 0, "abx|c"},
      {"typing replaces the selection", "a^bc|d", typed("Z"), 0, "aZ|d"},
      {"types multi-byte text", "|", typed("Straße"), 0, "Straße|"},
      {"a line break typed is a space", "a|b", typed("x\r\ny\tz"), 0, "ax y z|b"},
      {"backspace takes a two-byte character", "aé|b", key(NamedKey::Backspace), 0, "a|b"},
      {"backspace takes a letter with its accent", "ae\u0301|b", key(NamedKey::Backspace), 0, "a|b"},
      {"backspace takes an emoji", "x\U0001F600|", key(NamedKey::Backspace), 0, "x|"},
      {"backspace takes a joined emoji", "\U0001F469\u200D\U0001F4BB|", key(NamedKey::Backspace), 0, "|"},
      {"backspace at the start does nothing", "|ab", key(NamedKey::Backspace), 0, "|ab"},
      {"backspace takes the selection", "a^bc|d", key(NamedKey::Backspace), 0, "a|d"},
      {"backspace takes an invalid byte alone", "a\xff|b", key(NamedKey::Backspace), 0, "a|b"},
      {"delete takes the character after", "a|€b", key(NamedKey::Delete), 0, "a|b"},
      {"delete at the end does nothing", "ab|", key(NamedKey::Delete), 0, "ab|"},
      {"delete takes the selection", "a|bc^d", key(NamedKey::Delete), 0, "a|d"},
      {"left steps over a three-byte character", "a€|", key(NamedKey::ArrowLeft), 0, "a|€"},
      {"right steps over a four-byte character", "|\U0001F600x", key(NamedKey::ArrowRight), 0, "\U0001F600|x"},
      {"right steps over a letter with its accent", "|e\u0301x", key(NamedKey::ArrowRight), 0, "e\u0301|x"},
      {"left at the start stays", "|ab", key(NamedKey::ArrowLeft), 0, "|ab"},
      {"left collapses a selection to its start", "a^bc|", key(NamedKey::ArrowLeft), 0, "a|bc"},
      {"right collapses a selection to its end", "a|bc^d", key(NamedKey::ArrowRight), 0, "abc|d"},
      {"shift left extends", "abc|", key(NamedKey::ArrowLeft), mods::kShift, "ab|c^"},
      {"shift right extends a selection", "a^b|c", key(NamedKey::ArrowRight), mods::kShift, "a^bc|"},
      {"shift home selects to the start", "ab|c", key(NamedKey::Home), mods::kShift, "|ab^c"},
      {"shift end selects to the end", "a|bc", key(NamedKey::End), mods::kShift, "a^bc|"},
      {"home", "ab|c", key(NamedKey::Home), 0, "|abc"},
      {"end", "a|bc", key(NamedKey::End), 0, "abc|"},
      {"control left to the word's start", "hello wor|ld", key(NamedKey::ArrowLeft), mods::kControl, "hello |world"},
      {"control left skips spaces and punctuation", "hello, |world", key(NamedKey::ArrowLeft), mods::kControl,
       "|hello, world"},
      {"control left over non-Latin words", "東京 タワー|", key(NamedKey::ArrowLeft), mods::kControl, "東京 |タワー"},
      {"control right to the word's end", "|hello world", key(NamedKey::ArrowRight), mods::kControl, "hello| world"},
      {"control right to the next word's end", "hello| world", key(NamedKey::ArrowRight), mods::kControl,
       "hello world|"},
      {"shift control left selects a word", "one two|", key(NamedKey::ArrowLeft), mods::kControl | mods::kShift,
       "one |two^"},
      {"control backspace takes the word before", "hello wor|ld", key(NamedKey::Backspace), mods::kControl,
       "hello |ld"},
      {"control delete takes the word after", "hel|lo world", key(NamedKey::Delete), mods::kControl, "hel| world"},
      {"control a selects everything", "ab|c", typed("a"), mods::kControl, "^abc|"},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.name);
    TextInput field = focused_field(c.before);
    EXPECT_TRUE(field.handle_event(c.event, {c.modifiers}));
    EXPECT_EQ(marked(field), c.after);
    const bool text_changed = field.text() != focused_field(c.before).text();
    EXPECT_EQ(field.take_dirty().has_value(), text_changed);
  }
}

TEST(TextInput, DirtyOncePerChangeMadeThroughInput) {
  TextInput field = focused_field("|");
  field.set_text("set by the app");
  EXPECT_FALSE(field.take_dirty());  // not an edit

  field.handle_event(typed("!"), {});
  EXPECT_EQ(field.take_dirty(), "set by the app!");
  EXPECT_FALSE(field.take_dirty());

  field.handle_event(key(NamedKey::ArrowLeft), {});
  field.handle_event(key(NamedKey::Delete), {});
  field.handle_event(typed("?"), {});
  EXPECT_EQ(field.take_dirty(), "set by the app?");
}

TEST(TextInput, OnlyAFocusedFieldEdits) {
  TextInput field = TextInput::local();
  field.set_text("abc");
  EXPECT_FALSE(field.handle_event(typed("x"), {}));
  EXPECT_FALSE(field.handle_event(key(NamedKey::Backspace), {}));
  EXPECT_EQ(field.text(), "abc");
  EXPECT_FALSE(field.take_dirty());
  // Key releases and shortcuts held with Alt are not typing.
  field.focused = true;
  EXPECT_FALSE(field.handle_event(widget::Key{std::string("x"), false}, {}));
  EXPECT_FALSE(field.handle_event(typed("d"), {mods::kAlt}));
  EXPECT_FALSE(field.handle_event(typed("d"), {mods::kControl}));
  EXPECT_EQ(field.text(), "abc");
}

TEST(TextInput, EnterReportsASubmitOnlyWhenAsked) {
  TextInput field = focused_field("query|");
  EXPECT_FALSE(field.handle_event(key(NamedKey::Enter), {}));
  EXPECT_FALSE(field.take_submitted());
  field.submit_on_enter = true;
  EXPECT_TRUE(field.handle_event(key(NamedKey::Enter), {}));
  EXPECT_TRUE(field.take_submitted());
  EXPECT_FALSE(field.take_submitted());
  EXPECT_EQ(field.text(), "query");
  // Keys the field has no use for are left to the caller.
  for (NamedKey k : {NamedKey::Escape, NamedKey::Tab, NamedKey::ArrowUp, NamedKey::ArrowDown}) {
    EXPECT_FALSE(field.handle_event(key(k), {}));
  }
}

TEST(TextInput, CutCopyAndPasteThroughTheClipboard) {
  clipboard::MemoryClipboard board;
  const EventCtx ctx{mods::kControl, 1.0, &board};

  TextInput field = focused_field("Marien^platz|");
  EXPECT_TRUE(field.handle_event(typed("c"), ctx));
  EXPECT_EQ(board.contents, "platz");
  EXPECT_EQ(marked(field), "Marien^platz|");
  EXPECT_FALSE(field.take_dirty());

  EXPECT_TRUE(field.handle_event(typed("x"), ctx));
  EXPECT_EQ(marked(field), "Marien|");
  EXPECT_EQ(field.take_dirty(), "Marien");

  EXPECT_TRUE(field.handle_event(typed("V"), ctx));  // Shift held gives the capital
  EXPECT_EQ(marked(field), "Marienplatz|");

  // Pasted text is made one line of valid UTF-8, and replaces the selection.
  board.contents = "Sendlinger\r\nTor\t\x01\xff";
  field = focused_field("^Marienplatz| 1");
  field.handle_event(typed("v"), ctx);
  EXPECT_EQ(marked(field), "Sendlinger Tor \uFFFD| 1");

  // Nothing on the clipboard pastes nothing; copying nothing leaves the clipboard alone.
  board.contents.reset();
  field = focused_field("ab|");
  field.handle_event(typed("v"), ctx);
  field.handle_event(typed("c"), ctx);
  EXPECT_EQ(marked(field), "ab|");
  EXPECT_FALSE(board.contents);
}

TEST(TextInput, CutWithoutAClipboardKeepsTheText) {
  TextInput field = focused_field("^keep me|");
  EXPECT_TRUE(field.handle_event(typed("x"), {mods::kControl}));
  EXPECT_EQ(marked(field), "^keep me|");
  EXPECT_FALSE(field.take_dirty());
}

TEST(TextInput, PasteStopsAtTheSizeLimitOnACharacterBoundary) {
  clipboard::MemoryClipboard board;
  std::string many;
  for (int i = 0; i < 5000; ++i) many += "é";
  board.contents = many;
  TextInput field = focused_field("a|");
  field.handle_event(typed("v"), {mods::kControl, 1.0, &board});
  EXPECT_LE(field.text().size(), TextInput::kMaxBytes);
  EXPECT_EQ(field.text().size(), TextInput::kMaxBytes - 1);  // "a" and 4095 two-byte characters
  EXPECT_EQ(field.caret_, field.text().size());
  // The last byte of room takes one more letter; a full field takes no more, but still lets
  // what is deleted be typed again.
  field.handle_event(typed("z"), {});
  EXPECT_EQ(field.text().size(), TextInput::kMaxBytes);
  field.handle_event(typed("y"), {});
  EXPECT_EQ(field.text().size(), TextInput::kMaxBytes);
  EXPECT_EQ(field.text().back(), 'z');
  field.handle_event(key(NamedKey::Backspace), {});
  field.handle_event(typed("q"), {});
  EXPECT_EQ(field.text().back(), 'q');
}

// A clipboard that hands out prefixes of a large text, as the system's does, and notes how much
// was asked for.
class LargeClipboard final : public clipboard::Clipboard {
 public:
  explicit LargeClipboard(std::string text) : text_(std::move(text)) {}
  std::optional<std::string> text() override { return text_prefix(std::string::npos); }
  std::optional<std::string> text_prefix(std::size_t max_bytes) override {
    largest_ask = std::max(largest_ask, std::min(max_bytes, text_.size()));
    return text_.substr(0, max_bytes);
  }
  void set_text(const std::string&) override {}
  std::size_t largest_ask = 0;

 private:
  std::string text_;
};

// Only what fits is read from a huge clipboard; the cut still falls on a character boundary,
// decided with the characters that follow it.
TEST(TextInput, APasteReadsOnlyWhatFits) {
  struct Case {
    const char* what;
    std::string tail;      // follows 8191 - 1 bytes of "a"
    std::string expected;  // what the field ends with
  };
  const std::string filler(TextInput::kMaxBytes - 2, 'a');
  const Case cases[] = {
      {"a letter and its accent stay together", "e\u0301" + std::string(1 << 20, 'x'), "a"},
      {"a four-byte character does not fit in one byte of room", "\U0001F600" + std::string(100, 'x'), "a"},
      {"a line break becomes a space", "\r\n" + std::string(1 << 20, 'x'), " x"},
  };
  for (const Case& c : cases) {
    LargeClipboard board(filler + c.tail);
    TextInput field = focused_field("|");
    field.handle_event(typed("v"), {mods::kControl, 1.0, &board});
    EXPECT_LE(board.largest_ask, TextInput::kMaxBytes + 64) << c.what;
    EXPECT_LE(field.text().size(), TextInput::kMaxBytes) << c.what;
    EXPECT_TRUE(field.text().ends_with(c.expected))
        << c.what << ": ..." << field.text().substr(field.text().size() - 3);
    EXPECT_EQ(field.text().find('\xcc'), std::string::npos) << c.what;  // no half accent
  }
}

TEST(TextInput, InputMethodCompositionIsShownNotTyped) {
  TextInput field = focused_field("東京|");
  EXPECT_TRUE(field.handle_event(widget::TextEditing{"たわ", 1, 0}, {}));
  EXPECT_EQ(field.composition(), "たわ");
  EXPECT_EQ(field.text(), "東京");
  EXPECT_FALSE(field.take_dirty());
  // The committed text arrives as typed text and ends the composition.
  field.handle_event(typed("タワー"), {});
  EXPECT_EQ(marked(field), "東京タワー|");
  EXPECT_EQ(field.composition(), "");
  // An empty composition ends it too.
  field.handle_event(widget::TextEditing{"か", 1, 0}, {});
  field.handle_event(widget::TextEditing{"", 0, 0}, {});
  EXPECT_EQ(field.composition(), "");
  // A field that loses focus drops its composition.
  field.handle_event(widget::TextEditing{"か", 1, 0}, {});
  field.focused = false;
  EXPECT_FALSE(field.handle_event(widget::TextEditing{"き", 1, 0}, {}));
  EXPECT_EQ(field.composition(), "");
}

TEST(TextInput, FocusSelectionAndCaretSetFromOutside) {
  // Gaining focus selects everything when asked, so typing replaces the text.
  TextInput field = TextInput::local();
  field.select_on_focus = true;
  field.set_text("Old query");
  field.focused = true;
  field.handle_event(typed("N"), {});
  EXPECT_EQ(marked(field), "N|");

  // Losing focus drops the selection; focusing again selects again.
  field = focused_field("^abc|");
  field.focused = false;
  field.handle_event(typed("x"), {});
  EXPECT_FALSE(field.has_selection());

  // The application resets the caret of an inactive field: that drops the selection too, and
  // a caret past the end or inside a character is brought onto a boundary.
  field = focused_field("a^bc|");
  field.caret_ = 0;
  field.handle_event(key(NamedKey::End), {mods::kShift});
  EXPECT_EQ(marked(field), "^abc|");
  field = focused_field("é|");
  field.caret_ = 1;  // inside "é"
  field.handle_event(typed("x"), {});
  EXPECT_EQ(marked(field), "x|é");
  field.caret_ = 99;
  field.handle_event(typed("!"), {});
  EXPECT_EQ(marked(field), "xé!|");
}

TEST(TextInput, SetTextPutsTheCaretAtTheEnd) {
  TextInput field = focused_field("^ab|");
  field.set_text("Marienplatz");
  EXPECT_EQ(marked(field), "Marienplatz|");
  // The same text changes nothing, not even the caret.
  field.handle_event(key(NamedKey::Home), {});
  field.set_text("Marienplatz");
  EXPECT_EQ(marked(field), "|Marienplatz");
}

}  // namespace
}  // namespace zarn_ui::widgets

#pragma once
// Text fields written as strings with markers: '|' is the caret and '^' the selection's other
// end (the caret's own position when absent). "ab^cd|" is "abcd" with "cd" selected.

#include <algorithm>
#include <string>
#include <string_view>

#include "zarn_ui/text_input.hpp"
#include "zarn_ui/theme.hpp"

namespace zarn_ui::testing {

inline widgets::TextInput focused_field(std::string_view marked) {
  std::string text;
  std::size_t caret = 0, anchor = std::string::npos;
  for (char c : marked) {
    if (c == '|') {
      caret = text.size();
    } else if (c == '^') {
      anchor = text.size();
    } else {
      text += c;
    }
  }
  auto field = widgets::TextInput::local();
  field.set_text(text);
  field.focused = true;
  field.set_caret(anchor == std::string::npos ? caret : anchor);
  field.set_caret(caret, true);
  return field;
}

inline std::string marked(const widgets::TextInput& field) {
  std::string out = field.text();
  const std::size_t caret = field.caret_, anchor = field.anchor_;
  if (anchor != caret) {
    out.insert(std::max(anchor, caret), 1, anchor > caret ? '^' : '|');
    out.insert(std::min(anchor, caret), 1, anchor > caret ? '|' : '^');
  } else {
    out.insert(caret, 1, '|');
  }
  return out;
}

inline widget::Event key(widget::NamedKey k) { return widget::Key{k}; }
inline widget::Event typed(std::string text) { return widget::Key{std::move(text)}; }

}  // namespace zarn_ui::testing

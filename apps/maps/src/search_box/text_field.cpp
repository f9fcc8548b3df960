#include "search_box/text_field.hpp"

#include <algorithm>
#include <utility>

#include "base/utf8.hpp"

namespace maps {
namespace {

using zarn_ui::widget::Event;
using zarn_ui::widget::Key;
using zarn_ui::widget::NamedKey;

void replace_text(zarn_ui::widgets::TextInput& input, std::string text, std::size_t caret) {
  input.set_text(std::move(text));
  input.caret_ = caret;
  input.dirty_ = true;
}

}  // namespace

zarn_ui::widgets::TextInput new_search_text_input(std::string placeholder, float text_size) {
  auto input = zarn_ui::widgets::TextInput::local().with_kind(2);
  input.text_size = text_size;
  input.select_on_focus = true;
  input.submit_on_enter = true;
  input.set_placeholder(std::move(placeholder));
  return input;
}

bool text_input_event(zarn_ui::widgets::TextInput& input, const Event& event, std::uint32_t modifiers,
                      std::uint8_t /*extra*/, double /*scale*/) {
  const auto* key = std::get_if<Key>(&event);
  if (!key || !key->pressed || !input.focused) return false;
  const std::string& text = input.text();
  std::size_t caret = std::min(input.caret_, text.size());
  while (caret > 0 && !base::is_utf8_boundary(text, caret)) --caret;

  if (const std::string* typed = key->text()) {
    // Shortcuts are not typing.
    if (modifiers & (zarn_ui::widget::modifiers::kControl | zarn_ui::widget::modifiers::kSuper)) return false;
    std::string next = text;
    next.insert(caret, *typed);
    replace_text(input, std::move(next), caret + typed->size());
    return false;
  }
  if (key->is(NamedKey::Enter)) return input.submit_on_enter;
  if (key->is(NamedKey::Backspace) && caret > 0) {
    const std::size_t from = base::utf8_prev_boundary(text, caret);
    std::string next = text;
    next.erase(from, caret - from);
    replace_text(input, std::move(next), from);
  } else if (key->is(NamedKey::Delete) && caret < text.size()) {
    std::string next = text;
    next.erase(caret, base::utf8_next_boundary(text, caret) - caret);
    replace_text(input, std::move(next), caret);
  } else if (key->is(NamedKey::ArrowLeft)) {
    input.caret_ = base::utf8_prev_boundary(text, caret);
  } else if (key->is(NamedKey::ArrowRight)) {
    input.caret_ = base::utf8_next_boundary(text, caret);
  } else if (key->is(NamedKey::Home)) {
    input.caret_ = 0;
  } else if (key->is(NamedKey::End)) {
    input.caret_ = text.size();
  }
  return false;
}

void deactivate_text_input(zarn_ui::widgets::TextInput& input) {
  input.focused = false;
  input.caret_ = 0;
}

}  // namespace maps

// Editing and input of the single-line text field.

#include "zarn_ui/text_input.hpp"

#include <algorithm>
#include <cctype>

#include "text_edit.hpp"

namespace zarn_ui::widgets {

using widget::Key;
using widget::MouseButton;
using widget::MouseButtonEvent;
using widget::NamedKey;

void TextInput::set_text(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  caret_ = anchor_ = caret_seen_ = text_.size();
  composition_.clear();
  composition_cursor_ = 0;
}

std::pair<std::size_t, std::size_t> TextInput::selection() const {
  const std::size_t c = std::min(caret_, text_.size()), a = std::min(anchor_, text_.size());
  return {std::min(c, a), std::max(c, a)};
}

std::string TextInput::selected_text() const {
  const auto [from, to] = selection();
  return text_.substr(from, to - from);
}

void TextInput::select_all() {
  anchor_ = 0;
  caret_ = caret_seen_ = text_.size();
}

void TextInput::set_caret(std::size_t at, bool extend) {
  settle();
  move_to(text_edit::snap(text_, at), extend);
}

void TextInput::settle() {
  caret_ = text_edit::snap(text_, caret_);
  if (caret_ != caret_seen_) anchor_ = caret_;
  anchor_ = text_edit::snap(text_, anchor_);
  if (focused && !focus_seen_) {
    if (select_on_focus) {
      anchor_ = 0;
      caret_ = text_.size();
    }
  } else if (!focused && focus_seen_) {
    anchor_ = caret_;
    composition_.clear();
    composition_cursor_ = 0;
    dragging_ = false;
  }
  focus_seen_ = focused;
  caret_seen_ = caret_;
}

void TextInput::move_to(std::size_t at, bool extend) {
  caret_ = at;
  if (!extend) anchor_ = caret_;
  caret_seen_ = caret_;
}

void TextInput::replace_selection(const std::string& with) {
  const auto [from, to] = selection();
  const std::size_t kept = text_.size() - (to - from);
  const std::size_t room = kept >= kMaxBytes ? 0 : kMaxBytes - kept;
  const std::string_view insert = std::string_view(with).substr(0, text_edit::fit_prefix(with, room));
  if (insert.empty() && from == to) return;
  std::string next;
  next.reserve(kept + insert.size());
  next.append(text_, 0, from).append(insert).append(text_, to, std::string::npos);
  const bool changed = next != text_;
  text_ = std::move(next);
  // What was typed may join the character after it (a letter before a combining mark).
  std::size_t at = text_edit::snap(text_, from + insert.size());
  if (at < from + insert.size()) at = text_edit::next_char(text_, at);
  move_to(at, false);
  if (changed) dirty_ = true;
}

void TextInput::paste(clipboard::Clipboard& board) {
  const auto [from, to] = selection();
  const std::size_t kept = text_.size() - (to - from);
  const std::size_t room = kept >= kMaxBytes ? 0 : kMaxBytes - kept;
  // Only what can fit is read, made one line and measured, so a huge clipboard costs no more
  // than a full field. A little more than the room is read: where the cut falls depends on the
  // characters after it.
  constexpr std::size_t kLookahead = 64;
  const auto pasted = board.text_prefix(room + kLookahead);
  if (!pasted) return;
  std::string_view raw = *pasted;
  if (raw.size() == room + kLookahead) raw = raw.substr(0, text_edit::code_point_floor(raw, raw.size() - 3));
  replace_selection(text_edit::sanitize_line(raw));
}

bool TextInput::handle_event(const widget::Event& event, const EventCtx& ctx) {
  settle();
  if (const auto* key = std::get_if<Key>(&event)) {
    if (!key->pressed || !focused) return false;
    return handle_key(*key, ctx);
  }
  if (const auto* editing = std::get_if<widget::TextEditing>(&event)) {
    if (!focused) return false;
    composition_ = text_edit::sanitize_line(editing->text);
    const std::size_t cursor = editing->cursor > 0 ? static_cast<std::size_t>(editing->cursor) : 0;
    composition_cursor_ = text_edit::code_point_offset(composition_, cursor);
    return true;
  }
  return handle_pointer(event, ctx);
}

bool TextInput::handle_pointer(const widget::Event& event, const EventCtx& ctx) {
  if (const auto* moved = std::get_if<widget::PointerMoved>(&event)) {
    pointer_ = moved->position * ctx.inverse_scale();
    if (dragging_ && focused) {
      move_to(offset_at(pointer_->x), true);
      return true;
    }
    return false;
  }
  if (std::holds_alternative<widget::PointerLeft>(event)) {
    pointer_.reset();
    return false;
  }
  const auto* button = std::get_if<MouseButtonEvent>(&event);
  if (!button || button->button != MouseButton::Primary) return false;
  if (!button->pressed) return std::exchange(dragging_, false);
  if (!focused || !pointer_ || !rect_.contains(*pointer_)) {
    dragging_ = false;
    return false;
  }
  composition_.clear();
  composition_cursor_ = 0;
  move_to(offset_at(pointer_->x), ctx.shift());
  dragging_ = true;
  return true;
}

bool TextInput::handle_key(const Key& key, const EventCtx& ctx) {
  if (const std::string* typed = key.text()) {
    if (ctx.command()) return handle_command(*typed, ctx);
    // Alt with a key is a shortcut; text that Alt Gr composes arrives without it.
    if (ctx.modifiers & widget::modifiers::kAlt) return false;
    replace_selection(text_edit::sanitize_line(*typed));
    composition_.clear();
    composition_cursor_ = 0;
    return true;
  }
  const bool extend = ctx.shift();
  const bool by_word = (ctx.modifiers & widget::modifiers::kControl) != 0;
  const NamedKey named = std::get<NamedKey>(key.key);
  switch (named) {
    case NamedKey::Enter:
      if (!submit_on_enter) return false;
      submitted_ = true;
      return true;
    case NamedKey::Backspace:
    case NamedKey::Delete: {
      if (!has_selection()) {
        const bool back = named == NamedKey::Backspace;
        const std::size_t to =
            back ? (by_word ? text_edit::word_left(text_, caret_) : text_edit::prev_char(text_, caret_))
                 : (by_word ? text_edit::word_right(text_, caret_) : text_edit::next_char(text_, caret_));
        anchor_ = to;
      }
      replace_selection("");
      return true;
    }
    case NamedKey::ArrowLeft:
    case NamedKey::ArrowRight: {
      const bool left = named == NamedKey::ArrowLeft;
      if (has_selection() && !extend) {
        const auto [from, to] = selection();
        move_to(left ? from : to, false);
      } else if (left) {
        move_to(by_word ? text_edit::word_left(text_, caret_) : text_edit::prev_char(text_, caret_), extend);
      } else {
        move_to(by_word ? text_edit::word_right(text_, caret_) : text_edit::next_char(text_, caret_), extend);
      }
      return true;
    }
    case NamedKey::Home: move_to(0, extend); return true;
    case NamedKey::End: move_to(text_.size(), extend); return true;
    case NamedKey::Space: replace_selection(" "); return true;
    default: return false;
  }
}

bool TextInput::handle_command(const std::string& key, const EventCtx& ctx) {
  if (key.size() != 1) return false;
  switch (std::tolower(static_cast<unsigned char>(key[0]))) {
    case 'a': select_all(); return true;
    case 'c':
      if (has_selection() && ctx.clipboard) ctx.clipboard->set_text(selected_text());
      return true;
    case 'x':
      // Without a clipboard the cut text would be lost, so nothing is cut.
      if (has_selection() && ctx.clipboard) {
        ctx.clipboard->set_text(selected_text());
        replace_selection("");
      }
      return true;
    case 'v':
      if (ctx.clipboard) paste(*ctx.clipboard);
      return true;
    default: return false;
  }
}

}  // namespace zarn_ui::widgets

#pragma once
// Framework widgets the application owns and configures. This is their configuration and
// state; drawing and event routing arrive with the widgets' own work.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "zarn_ui/geometry.hpp"

namespace zarn_ui::widgets {

class TextInput {
 public:
  // A text input that keeps its text locally (not bound to the document).
  static TextInput local() { return TextInput(); }
  TextInput with_kind(std::uint8_t kind) && {
    kind_ = kind;
    return std::move(*this);
  }
  void set_placeholder(std::string text) { placeholder_ = std::move(text); }
  void set_text(std::string text) {
    if (text != text_) {
      text_ = std::move(text);
      caret_ = text_.size();
    }
  }
  // The new text once per change made through input, else nothing.
  std::optional<std::string> take_dirty() {
    if (!dirty_) return std::nullopt;
    dirty_ = false;
    return text_;
  }

  const std::string& text() const { return text_; }
  const std::string& placeholder() const { return placeholder_; }
  std::uint8_t kind() const { return kind_; }

  // Members set directly by the application.
  std::optional<float> text_size;
  bool focused = false;
  bool select_on_focus = false;
  bool submit_on_enter = false;
  std::size_t caret_ = 0;
  bool dirty_ = false;

 private:
  std::string text_;
  std::string placeholder_;
  std::uint8_t kind_ = 0;
};

class Autocomplete {
 public:
  static Autocomplete create() { return Autocomplete(); }
  Autocomplete with_id(std::string id) && {
    id_ = std::move(id);
    return std::move(*this);
  }
  Autocomplete with_placeholder(std::string text) && {
    placeholder_ = std::move(text);
    return std::move(*this);
  }
  void set_text(std::string text) { text_ = std::move(text); }
  void begin_edit() { editing_ = true; }
  void close() {
    editing_ = false;
    suggestions_open_ = false;
  }
  void set_suggestions(std::vector<std::string> items) { suggestions_ = std::move(items); }
  void set_suggestions_open(bool open) { suggestions_open_ = open; }

  const std::string& id() const { return id_; }
  const std::string& placeholder() const { return placeholder_; }
  const std::string& text() const { return text_; }
  bool editing() const { return editing_; }
  bool suggestions_open() const { return suggestions_open_; }
  const std::vector<std::string>& suggestions() const { return suggestions_; }

  std::optional<float> text_size;

 private:
  std::string id_;
  std::string placeholder_;
  std::string text_;
  std::vector<std::string> suggestions_;
  bool editing_ = false;
  bool suggestions_open_ = false;
};

struct MenuItem {
  std::string label;
  bool operator==(const MenuItem&) const = default;
};

class ContextMenu {
 public:
  void push(MenuItem item) { items_.push_back(std::move(item)); }
  void open_at(Point p) {
    open_ = true;
    anchor_ = p;
  }
  void close() { open_ = false; }
  bool is_open() const { return open_; }
  Point anchor() const { return anchor_; }
  const std::vector<MenuItem>& items() const { return items_; }
  // The item the user chose, taken once.
  std::optional<std::size_t> take_chosen() { return std::exchange(chosen_, std::nullopt); }
  void choose(std::size_t index) {
    if (index < items_.size()) chosen_ = index;
  }

  // The menu as drawn: one row per item under a small padding, its top-left corner at the anchor.
  static constexpr double kWidth = 220.0;
  static constexpr double kRowHeight = 32.0;
  static constexpr double kPadding = 6.0;
  Size menu_size() const { return {kWidth, 2.0 * kPadding + kRowHeight * static_cast<double>(items_.size())}; }
  Rect rect() const { return Rect::from_origin_size(anchor_, menu_size()); }
  // The row under a point, if any.
  std::optional<std::size_t> item_at(Point p) const {
    const Rect r = rect();
    if (!r.contains(p) || p.y < r.y0 + kPadding) return std::nullopt;
    const auto row = static_cast<std::size_t>((p.y - r.y0 - kPadding) / kRowHeight);
    if (row >= items_.size()) return std::nullopt;
    return row;
  }

 private:
  std::vector<MenuItem> items_;
  bool open_ = false;
  Point anchor_;
  std::optional<std::size_t> chosen_;
};

struct TooltipTarget {
  Rect rect;
  std::string text;
  bool operator==(const TooltipTarget&) const = default;
};

// Brings a tooltip up after the pointer rests on a target, and takes it down again.
class TooltipHost {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kDelay{500};

  // True when what is shown changed.
  bool on_pointer(std::optional<TooltipTarget> target, Clock::time_point now) {
    if (target == target_) return false;
    target_ = std::move(target);
    since_ = now;
    shown_ = false;
    return true;
  }
  // True when the tooltip came up.
  bool tick(Clock::time_point now) {
    if (target_ && !shown_ && now - since_ >= kDelay) {
      shown_ = true;
      return true;
    }
    return false;
  }
  void dismiss() {
    target_.reset();
    shown_ = false;
  }
  const std::optional<TooltipTarget>& target() const { return target_; }
  bool shown() const { return shown_; }
  // A tooltip is on its way: a target is held and not yet shown.
  bool in_progress() const { return target_.has_value() && !shown_; }

 private:
  std::optional<TooltipTarget> target_;
  Clock::time_point since_{};
  bool shown_ = false;
};

}  // namespace zarn_ui::widgets

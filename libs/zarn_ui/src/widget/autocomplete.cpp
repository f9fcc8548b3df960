// The autocomplete field: its suggestion list, keys, pointer and pending outcome.

#include "zarn_ui/autocomplete.hpp"

#include <algorithm>
#include <cmath>

namespace zarn_ui::widgets {

using widget::Key;
using widget::MouseButton;
using widget::MouseButtonEvent;
using widget::NamedKey;

void Autocomplete::begin_edit() {
  editing_ = true;
  input_.focused = true;
}

void Autocomplete::close() {
  editing_ = false;
  input_.focused = false;
  pointer_.reset();
  close_dropdown();
}

void Autocomplete::set_suggestions(std::vector<std::string> labels) {
  std::vector<ListItem> items;
  items.reserve(labels.size());
  for (std::string& label : labels) {
    std::string id = label;
    items.push_back(ListItem::create(std::move(label), std::move(id)));
  }
  set_suggestion_items(std::move(items));
}

void Autocomplete::set_suggestion_items(std::vector<ListItem> items) {
  items_ = std::move(items);
  highlighted_.reset();
}

void Autocomplete::set_suggestions_open(bool open) {
  open_ = open;
  if (!open) highlighted_.reset();
}

void Autocomplete::set_rect(const Rect& rect) {
  rect_ = rect;
  const double x0 = rect.x0 + kInset;
  input_.set_rect({x0, rect.y0, std::max(rect.x1 - kInset, x0), rect.y1});
}

double Autocomplete::row_height() const {
  const bool details = std::any_of(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(shown_rows()),
                                   [](const ListItem& i) { return !i.detail.empty(); });
  return details ? kDetailRowHeight : kRowHeight;
}

std::optional<Rect> Autocomplete::dropdown_rect() const {
  if (!dropdown_visible()) return std::nullopt;
  const double top = rect_.y1 + kListGap;
  return Rect{rect_.x0, top, rect_.x1, top + 2.0 * kListPadding + row_height() * static_cast<double>(shown_rows())};
}

std::optional<std::size_t> Autocomplete::row_at(Point p) const {
  const auto list = dropdown_rect();
  if (!list || !list->contains(p)) return std::nullopt;
  const double y = p.y - (list->y0 + kListPadding);
  if (y < 0.0) return std::nullopt;
  const auto row = static_cast<std::size_t>(std::floor(y / row_height()));
  if (row >= shown_rows()) return std::nullopt;
  return row;
}

void Autocomplete::close_dropdown() {
  open_ = false;
  highlighted_.reset();
}

void Autocomplete::choose(std::size_t row) {
  if (row >= items_.size()) return;
  const ListItem item = items_[row];
  input_.set_text(item.label);
  outcome_ = AutocompleteOutcome{AutocompleteOutcome::Chosen{item.id, item.label}};
  close_dropdown();
}

bool Autocomplete::forward(const widget::Event& event, const EventCtx& ctx) {
  input_.focused = editing_;
  const bool used = input_.handle_event(event, ctx);
  if (auto text = input_.take_dirty()) {
    outcome_ = AutocompleteOutcome{AutocompleteOutcome::Edited{std::move(*text)}};
    highlighted_.reset();
  }
  return used;
}

bool Autocomplete::handle_event(const widget::Event& event, const EventCtx& ctx) {
  if (const auto* moved = std::get_if<widget::PointerMoved>(&event)) {
    pointer_ = moved->position * ctx.inverse_scale();
    const auto row = row_at(*pointer_);
    if (row) highlighted_ = row;
    forward(event, ctx);
    return row.has_value();
  }
  if (std::holds_alternative<widget::PointerLeft>(event)) {
    pointer_.reset();
    forward(event, ctx);
    return false;
  }
  if (const auto* button = std::get_if<MouseButtonEvent>(&event)) {
    if (button->button != MouseButton::Primary) return false;
    if (button->pressed) return handle_press(event, ctx);
    return forward(event, ctx);
  }
  if (const auto* key = std::get_if<Key>(&event)) {
    if (!editing_ || !key->pressed) return false;
    return handle_key(*key, event, ctx);
  }
  if (std::holds_alternative<widget::TextEditing>(event)) return editing_ && forward(event, ctx);
  return false;
}

bool Autocomplete::handle_press(const widget::Event& event, const EventCtx& ctx) {
  if (!pointer_) return false;
  if (const auto row = row_at(*pointer_)) {
    choose(*row);
    return true;
  }
  if (rect_.contains(*pointer_)) {
    if (!editing_) begin_edit();
    forward(event, ctx);
    return true;
  }
  if (dropdown_visible()) {
    close_dropdown();
    outcome_ = AutocompleteOutcome{AutocompleteOutcome::Closed{}};
  }
  return false;
}

bool Autocomplete::handle_key(const Key& key, const widget::Event& event, const EventCtx& ctx) {
  if (key.is(NamedKey::ArrowDown) || key.is(NamedKey::ArrowUp)) {
    const bool down = key.is(NamedKey::ArrowDown);
    if (items_.empty()) return true;
    if (!open_) {
      if (down) {
        open_ = true;
        highlighted_ = 0;
      }
      return true;
    }
    const std::size_t n = shown_rows();
    if (!highlighted_) {
      highlighted_ = down ? 0 : n - 1;
    } else {
      highlighted_ = down ? (*highlighted_ + 1) % n : (*highlighted_ + n - 1) % n;
    }
    return true;
  }
  if (key.is(NamedKey::Enter)) {
    if (dropdown_visible() && highlighted_) {
      choose(*highlighted_);
    } else {
      outcome_ = AutocompleteOutcome{AutocompleteOutcome::Submitted{input_.text()}};
      close_dropdown();
    }
    return true;
  }
  if (key.is(NamedKey::Escape)) {
    if (!dropdown_visible()) return false;
    close_dropdown();
    outcome_ = AutocompleteOutcome{AutocompleteOutcome::Closed{}};
    return true;
  }
  return forward(event, ctx);
}

}  // namespace zarn_ui::widgets

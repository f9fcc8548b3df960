#pragma once
// A text field with a dropdown of suggestions under it. The caller fills the suggestions
// (usually from a search of the typed text) and, after every event, takes the field's pending
// outcome: a chosen suggestion, an edit, a submit, or the dropdown closed. Events that are none
// of these (a pointer moving over the suggestions, arrow keys moving the highlight) leave no
// outcome, and the dropdown stays as it is.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_input.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::widgets {

// One row of a suggestion list: what it shows, the id it reports when chosen, and an optional
// second line.
struct ListItem {
  std::string label;
  std::string id;
  std::string detail;
  bool operator==(const ListItem&) const = default;

  static ListItem create(std::string label, std::string id) { return {std::move(label), std::move(id), {}}; }
  ListItem with_detail(std::string text) && {
    detail = std::move(text);
    return std::move(*this);
  }
};

// What an event made of the field. No outcome at all is a separate case (an empty optional
// from take_outcome): it must not be treated like any of these.
struct AutocompleteOutcome {
  // A suggestion was picked (press or Enter on the highlighted row); the field now holds its
  // label and the dropdown is closed.
  struct Chosen {
    std::string id;
    std::string label;
    bool operator==(const Chosen&) const = default;
  };
  // The text changed through typing, deleting or pasting.
  struct Edited {
    std::string text;
    bool operator==(const Edited&) const = default;
  };
  // Enter with no suggestion highlighted; the dropdown is closed.
  struct Submitted {
    std::string text;
    bool operator==(const Submitted&) const = default;
  };
  // Escape, or a press outside the field and the dropdown, closed the dropdown.
  struct Closed {
    bool operator==(const Closed&) const = default;
  };
  std::variant<Chosen, Edited, Submitted, Closed> value;
  bool operator==(const AutocompleteOutcome&) const = default;

  const Chosen* chosen() const { return std::get_if<Chosen>(&value); }
};

class Autocomplete {
 public:
  // At most this many suggestion rows are shown.
  static constexpr std::size_t kMaxRows = 6;
  static constexpr double kRowHeight = 34.0;
  static constexpr double kDetailRowHeight = 46.0;
  static constexpr double kListPadding = 4.0;
  static constexpr double kListGap = 4.0;
  static constexpr double kInset = 10.0;  // between the box's edge and the text

  static Autocomplete create() { return Autocomplete(); }
  Autocomplete with_id(std::string id) && {
    id_ = std::move(id);
    return std::move(*this);
  }
  Autocomplete with_placeholder(std::string text) && {
    input_.set_placeholder(std::move(text));
    return std::move(*this);
  }
  // Replaces the field's text (caret at its end); not an edit.
  void set_text(std::string text) { input_.set_text(std::move(text)); }
  // Focuses the field for typing.
  void begin_edit();
  // Ends editing: the field loses focus and the dropdown closes.
  void close();
  // Suggestions given as plain labels, each its own id.
  void set_suggestions(std::vector<std::string> labels);
  void set_suggestion_items(std::vector<ListItem> items);
  void set_suggestions_open(bool open);

  // The outcome of the events since it was last taken, the latest one winning; none when those
  // events changed nothing the caller acts on.
  std::optional<AutocompleteOutcome> take_outcome() { return std::exchange(outcome_, std::nullopt); }

  // Pointer moves and presses (physical pixels), keys and input-method text. Up and Down move
  // the highlight through the dropdown (Down opens a closed one that has suggestions), Enter
  // chooses the highlighted row or submits the text, Escape closes an open dropdown; other keys
  // edit the text. A press on a row chooses it; a press outside the field and the dropdown
  // closes the dropdown and is left for whatever lies below (not handled).
  bool handle_event(const widget::Event& event, const EventCtx& ctx);
  // The field: its box and its text.
  void draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx);
  // The dropdown, drawn after everything it covers.
  void draw_overlay(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx);

  // The field's box; the text sits inside it, moving with it.
  const Rect& rect() const { return rect_; }
  void set_rect(const Rect& rect);
  // The dropdown's rectangle while it shows.
  std::optional<Rect> dropdown_rect() const;
  // The row under a logical point, while the dropdown shows.
  std::optional<std::size_t> row_at(Point p) const;
  bool dropdown_visible() const { return open_ && !items_.empty(); }
  std::optional<std::size_t> highlighted() const { return highlighted_; }

  const std::string& id() const { return id_; }
  const std::string& placeholder() const { return input_.placeholder(); }
  const std::string& text() const { return input_.text(); }
  bool editing() const { return editing_; }
  bool suggestions_open() const { return open_; }
  const std::vector<ListItem>& suggestions() const { return items_; }
  TextInput& input() { return input_; }
  const TextInput& input() const { return input_; }

  // Member set directly by the application.
  std::optional<float> text_size;

 private:
  std::size_t shown_rows() const { return std::min(items_.size(), kMaxRows); }
  double row_height() const;
  void choose(std::size_t row);
  void close_dropdown();
  bool handle_key(const widget::Key& key, const widget::Event& event, const EventCtx& ctx);
  bool handle_press(const widget::Event& event, const EventCtx& ctx);
  // Hands the event to the text field and records an edit.
  bool forward(const widget::Event& event, const EventCtx& ctx);

  std::string id_;
  TextInput input_ = TextInput::local();
  Rect rect_;
  std::vector<ListItem> items_;
  bool editing_ = false;
  bool open_ = false;
  std::optional<std::size_t> highlighted_;
  std::optional<Point> pointer_;  // logical
  std::optional<AutocompleteOutcome> outcome_;
};

}  // namespace zarn_ui::widgets

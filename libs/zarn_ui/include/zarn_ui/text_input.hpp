#pragma once
// A single-line text field: caret and selection (by pointer and by Shift), movement by
// character, word and line, deletion by whole characters, cut, copy and paste, text composed
// by an input method, a placeholder, and horizontal scrolling that keeps the caret in view.
//
// The application owns the field, places it (set_rect), focuses it (`focused`) and hands it
// events; it reads back the changed text (take_dirty) and Enter (take_submitted). Positions are
// byte offsets into the UTF-8 text and always sit on a character boundary.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>

#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::widgets {

class TextInput {
 public:
  static constexpr float kDefaultTextSize = 14.0f;
  // Typing and pasting stop at this many bytes.
  static constexpr std::size_t kMaxBytes = 8192;
  // Room kept between the field's edges and its text.
  static constexpr double kPadding = 2.0;

  // A text input that keeps its text locally (not bound to the document).
  static TextInput local() { return TextInput(); }
  void set_placeholder(std::string text) { placeholder_ = std::move(text); }
  // Replaces the text when it differs, with the caret at its end and no selection. Not a
  // change made through input: take_dirty does not report it.
  void set_text(std::string text);
  // The new text once per change made through input, else nothing.
  std::optional<std::string> take_dirty() {
    if (!dirty_) return std::nullopt;
    dirty_ = false;
    return text_;
  }
  // True once after Enter was pressed in a field that submits on Enter.
  bool take_submitted() { return std::exchange(submitted_, false); }

  const std::string& text() const { return text_; }
  const std::string& placeholder() const { return placeholder_; }

  // The field's rectangle. Moving it moves the laid-out text by the same offset.
  const Rect& rect() const { return rect_; }
  void set_rect(const Rect& rect) { rect_ = rect; }
  // The top-left corner of the text line as last drawn (scrolled text starts left of the field).
  Point text_origin() const;

  // The selected bytes, start before end; empty when there is no selection.
  std::pair<std::size_t, std::size_t> selection() const;
  bool has_selection() const { return caret_ != anchor_; }
  std::string selected_text() const;
  void select_all();
  // Puts the caret at `at` (snapped to a character boundary), keeping the anchor when extending.
  void set_caret(std::size_t at, bool extend = false);
  // The text an input method is composing, drawn at the caret.
  const std::string& composition() const { return composition_; }
  double scroll() const { return scroll_; }

  // Pointer moves (physical pixels), primary presses and releases, keys and input-method text.
  // Only a focused field edits; the result tells whether the event was used.
  bool handle_event(const widget::Event& event, const EventCtx& ctx);
  // The text (or the placeholder), the selection and the caret, clipped to the field. A focused
  // field scrolls to keep the caret visible and reports its caret to the window.
  void draw(Scene& scene, const Affine& transform, const widget::PaintCtx& ctx);

  // The text size drawn, from `text_size` and the theme's text scale, kept within the field.
  float drawn_size(float text_scale) const;

  // Members set directly by the application.
  std::optional<float> text_size;
  bool focused = false;
  // Gaining focus selects the whole text, so typing replaces it.
  bool select_on_focus = false;
  bool submit_on_enter = false;
  // The caret and the selection's other end. Setting the caret from outside drops the
  // selection.
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;
  bool dirty_ = false;

 private:
  // Brings outside changes in: positions onto boundaries, focus gained or lost.
  void settle();
  void replace_selection(const std::string& with);
  void move_to(std::size_t at, bool extend);
  bool handle_key(const widget::Key& key, const EventCtx& ctx);
  bool handle_command(const std::string& key, const EventCtx& ctx);
  void paste(clipboard::Clipboard& board);
  bool handle_pointer(const widget::Event& event, const EventCtx& ctx);
  // The caret position nearest to a logical x, from the renderer of the last draw.
  std::size_t offset_at(double x) const;

  std::string text_;
  std::string placeholder_;
  Rect rect_;
  bool submitted_ = false;

  std::string composition_;
  std::size_t composition_cursor_ = 0;  // bytes into composition_

  std::size_t caret_seen_ = 0;  // caret_ as this field last left it
  bool focus_seen_ = false;

  std::optional<Point> pointer_;  // logical
  bool dragging_ = false;

  double scroll_ = 0.0;
  std::optional<text_render::TextRenderer> measurer_;  // the last draw's
  float measured_size_ = kDefaultTextSize;
};

}  // namespace zarn_ui::widgets

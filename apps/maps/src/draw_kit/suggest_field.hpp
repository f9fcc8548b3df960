#pragma once
// A text field with the places suggested for its text and the row of them the arrow keys point
// at: the search box's field and each route endpoint field. Its owner decides when the list
// shows, what its keys do and when its text is searched.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/records.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/events.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/widget.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

class SuggestField {
 public:
  SuggestField(std::string placeholder, float text_size);

  zarn_ui::widgets::TextInput& input() { return input_; }
  const zarn_ui::widgets::TextInput& input() const { return input_; }
  const std::vector<Place>& suggestions() const { return suggestions_; }
  // The suggestion at `index`, if there is one.
  std::optional<Place> suggestion(std::uint64_t index) const;
  // None until the arrow keys are used, and again whenever the list changes.
  const std::optional<std::uint64_t>& highlighted() const { return highlighted_; }

  void set_suggestions(std::vector<Place> places);
  void clear_suggestions();
  void clear_highlight() { highlighted_.reset(); }
  // Down (+1) and Up (-1) through the shown rows, wrapping; Up from none starts at the last row.
  void move_highlight(int delta);

  // Hands an event to the field; true when it reported Enter.
  bool event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx);
  // Shows `text` in the field at `rect`, with the caret when `focused`, and draws it.
  void draw(const std::string& text, bool focused, const zarn_ui::Rect& rect, zarn_ui::Scene& scene,
            const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx);

 private:
  zarn_ui::widgets::TextInput input_;
  std::vector<Place> suggestions_;
  std::optional<std::uint64_t> highlighted_;
};

}  // namespace maps

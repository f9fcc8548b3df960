#include "draw_kit/suggest_field.hpp"

#include <utility>

#include "draw_kit/suggestion_rows.hpp"
#include "draw_kit/text_field.hpp"

namespace maps {

SuggestField::SuggestField(std::string placeholder, float text_size)
    : input_(new_search_text_input(std::move(placeholder), text_size)) {}

std::optional<Place> SuggestField::suggestion(std::uint64_t index) const {
  if (index >= suggestions_.size()) return std::nullopt;
  return suggestions_[index];
}

void SuggestField::set_suggestions(std::vector<Place> places) {
  suggestions_ = std::move(places);
  highlighted_.reset();
}

void SuggestField::clear_suggestions() {
  suggestions_.clear();
  highlighted_.reset();
}

void SuggestField::move_highlight(int delta) {
  highlighted_ = step_highlight(highlighted_, suggestions_.size(), delta);
}

bool SuggestField::event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx) {
  return text_input_event(input_, event, ctx);
}

void SuggestField::draw(const std::string& text, bool focused, const zarn_ui::Rect& rect, zarn_ui::Scene& scene,
                        const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  input_.set_text(text);
  if (focused) {
    input_.focused = true;
  } else {
    deactivate_text_input(input_);
  }
  place_text_input(input_, rect);
  input_.draw(scene, transform, ctx);
}

}  // namespace maps

#include "search_box/search_box.hpp"

#include <algorithm>
#include <utility>

#include "base/text.hpp"
#include "draw_kit/suggestion_rows.hpp"
#include "draw_kit/text_field.hpp"

namespace maps {

SearchBox::SearchBox() : input_(new_search_text_input("Search places, addresses…", 15.0f)) {
  // Opening the box with "/" selects the last query, so typing replaces it.
  input_.select_on_focus = true;
}

bool SearchBox::suggestions_showing(std::string_view query) const {
  return open_ && !base::trim_white_space(query).empty() && !suggestions_.empty();
}

void SearchBox::clear_search_suggestions() {
  suggestions_.clear();
  deadline_.reset();
  highlighted_.reset();
}

void SearchBox::set_search_suggestions(std::vector<Place> places) {
  suggestions_ = std::move(places);
  highlighted_.reset();
}

void SearchBox::move_highlight(int delta) { highlighted_ = step_highlight(highlighted_, suggestions_.size(), delta); }

void SearchBox::close_search_suggestions() {
  open_ = false;
  clear_search_suggestions();
}

std::optional<Place> SearchBox::suggestion(std::uint64_t index) const {
  if (index >= suggestions_.size()) return std::nullopt;
  return suggestions_[index];
}

void SearchBox::typed(std::string_view trimmed_query, std::vector<Place> local, base::MonoTime now) {
  highlighted_.reset();
  if (trimmed_query.empty()) {
    suggestions_.clear();
    deadline_.reset();
  } else {
    suggestions_ = std::move(local);
    deadline_ = now + kTypingPause;
  }
}

bool SearchBox::field_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx) {
  return text_input_event(input_, event, ctx);
}

void SearchBox::draw_field(const std::string& query, const zarn_ui::Rect& rect, zarn_ui::Scene& scene,
                           const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  input_.set_text(query);
  if (open_) {
    input_.focused = true;
  } else {
    deactivate_text_input(input_);
  }
  place_text_input(input_, rect);
  input_.draw(scene, transform, ctx);
}

}  // namespace maps

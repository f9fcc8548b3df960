#include "search_box/search_box.hpp"

#include <utility>

#include "base/text.hpp"
#include "draw_kit/text_field.hpp"

namespace maps {

SearchBox::SearchBox() : field_("Search places, addresses…", 15.0f) {
  // Opening the box with "/" selects the last query, so typing replaces it.
  field_.input().select_on_focus = true;
}

bool SearchBox::suggestions_showing(std::string_view query) const {
  return open_ && !base::trim_white_space(query).empty() && !field_.suggestions().empty();
}

void SearchBox::clear_search_suggestions() {
  field_.clear_suggestions();
  deadline_.reset();
}

void SearchBox::set_search_suggestions(std::vector<Place> places) { field_.set_suggestions(std::move(places)); }

void SearchBox::close_search_suggestions() {
  open_ = false;
  clear_search_suggestions();
}

void SearchBox::typed(std::string_view trimmed_query, std::vector<Place> local, base::MonoTime now) {
  if (trimmed_query.empty()) {
    field_.clear_suggestions();
    deadline_.reset();
  } else {
    field_.set_suggestions(std::move(local));
    deadline_ = now + kTypingPause;
  }
}

bool SearchBox::field_event(const zarn_ui::widget::Event& event, const zarn_ui::widgets::EventCtx& ctx) {
  return field_.event(event, ctx);
}

void SearchBox::draw_field(const std::string& query, const zarn_ui::Rect& rect, zarn_ui::Scene& scene,
                           const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) {
  field_.draw(query, open_, rect, scene, transform, ctx);
}

}  // namespace maps

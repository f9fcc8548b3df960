#include "search_box/search_box.hpp"

#include <utility>

#include "base/text.hpp"
#include "search_box/text_field.hpp"

namespace maps {

SearchBox::SearchBox() : input_(new_search_text_input("Search places, addresses…", 15.0f)) {}

bool SearchBox::suggestions_showing(std::string_view query) const {
  return open_ && !base::trim_white_space(query).empty() && !suggestions_.empty();
}

void SearchBox::clear_search_suggestions() {
  suggestions_.clear();
  deadline_.reset();
}

void SearchBox::set_search_suggestions(std::vector<Place> places) { suggestions_ = std::move(places); }

void SearchBox::close_search_suggestions() {
  open_ = false;
  clear_search_suggestions();
}

std::optional<Place> SearchBox::suggestion(std::uint64_t index) const {
  if (index >= suggestions_.size()) return std::nullopt;
  return suggestions_[index];
}

void SearchBox::typed(std::string_view trimmed_query, std::vector<Place> local, MonoTime now) {
  if (trimmed_query.empty()) {
    suggestions_.clear();
    deadline_.reset();
  } else {
    suggestions_ = std::move(local);
    deadline_ = now + kTypingPause;
  }
}

bool SearchBox::field_event(const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                            double scale) {
  return text_input_event(input_, event, modifiers, extra, scale);
}

}  // namespace maps

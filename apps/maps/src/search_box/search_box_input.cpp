#include "search_box/search_box_input.hpp"

#include <string>
#include <utility>
#include <vector>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "transitions/messages.hpp"
#include "transitions/search.hpp"

namespace maps {

void search_box_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                    std::uint32_t modifiers, zarn_ui::state::State& state, double scale) {
  using zarn_ui::widget::NamedKey;
  SearchBox& box = app.search_box;
  if (key.is(NamedKey::Escape)) {
    box.close_search_suggestions();
    return;
  }
  // The arrow keys walk the shown suggestions; Enter then chooses the one pointed at.
  if (box.suggestions_showing(app.model.query)) {
    if (key.is(NamedKey::ArrowDown) || key.is(NamedKey::ArrowUp)) {
      box.move_highlight(key.is(NamedKey::ArrowDown) ? 1 : -1);
      return;
    }
    if (key.is(NamedKey::Enter) && box.highlighted()) {
      const std::uint64_t index = *box.highlighted();
      handle_ui_message(app, UiMessage{msg::SearchBox{{SearchBoxEvent::SuggestionChosen{index}}}}, state);
      return;
    }
  }
  search_box_field_event(app, event, modifiers, &state, scale);
}

void search_box_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                            zarn_ui::state::State* state, double scale) {
  SearchBox& box = app.search_box;
  box.focus();
  if (box.field_event(event, app.field_ctx(modifiers, scale))) {
    box.close();
    submit_search(app, state);
  } else if (auto text = box.take_edited_text()) {
    app.model.query = *text;
    const std::string query(base::trim_white_space(*text));
    std::vector<Place> local = local_search_sorted(app, query);
    box.typed(query, std::move(local), app.backend.now());
  }
}

}  // namespace maps

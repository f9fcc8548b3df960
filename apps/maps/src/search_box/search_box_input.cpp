#include "search_box/search_box_input.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "transitions/search.hpp"

namespace maps {

std::optional<UiMessage> search_box_key(MapsApp& app, const zarn_ui::widget::Event& event,
                                        const zarn_ui::widget::Key& key, std::uint32_t modifiers,
                                        zarn_ui::state::State& state, double scale) {
  using zarn_ui::widget::NamedKey;
  SearchBox& box = app.search_box;
  if (key.is(NamedKey::Escape)) {
    box.close_search_suggestions();
    return std::nullopt;
  }
  // The arrow keys walk the shown suggestions; Enter then chooses the one pointed at.
  if (box.suggestions_showing(app.model.query)) {
    if (key.is(NamedKey::ArrowDown) || key.is(NamedKey::ArrowUp)) {
      box.move_highlight(key.is(NamedKey::ArrowDown) ? 1 : -1);
      return std::nullopt;
    }
    if (key.is(NamedKey::Enter) && box.highlighted()) {
      return UiMessage{msg::SearchBox{{SearchBoxEvent::SuggestionChosen{*box.highlighted()}}}};
    }
  }
  search_box_field_event(app, event, modifiers, &state, scale);
  return std::nullopt;
}

void search_box_field_event(MapsApp& app, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                            zarn_ui::state::State* state, double scale) {
  SearchBox& box = app.search_box;
  box.focus();
  if (box.field_event(event, app.field_ctx(modifiers, scale))) {
    box.close();
    submit_search(app.session(), state);
  } else if (auto text = box.take_edited_text()) {
    app.model.query = *text;
    const std::string query(base::trim_white_space(*text));
    std::vector<Place> local = local_search_sorted(app.model, app.backend, query);
    box.typed(query, std::move(local), app.backend.now());
  }
}

}  // namespace maps

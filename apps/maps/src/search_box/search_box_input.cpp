#include "search_box/search_box_input.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/text.hpp"
#include "transitions/search.hpp"

namespace maps {

std::optional<UiMessage> search_box_key(SearchBox& box, Session& session, const zarn_ui::widget::Event& event,
                                        const zarn_ui::widget::Key& key, const zarn_ui::widgets::EventCtx& ctx,
                                        zarn_ui::state::State& state) {
  using zarn_ui::widget::NamedKey;
  if (key.is(NamedKey::Escape)) {
    box.close_search_suggestions();
    return std::nullopt;
  }
  // The arrow keys walk the shown suggestions; Enter then chooses the one pointed at.
  if (box.suggestions_showing(session.model.query)) {
    if (key.is(NamedKey::ArrowDown) || key.is(NamedKey::ArrowUp)) {
      box.move_highlight(key.is(NamedKey::ArrowDown) ? 1 : -1);
      return std::nullopt;
    }
    if (key.is(NamedKey::Enter) && box.highlighted()) {
      return UiMessage{msg::SearchBox{{SearchBoxEvent::SuggestionChosen{*box.highlighted()}}}};
    }
  }
  search_box_field_event(box, session, event, ctx, &state);
  return std::nullopt;
}

void search_box_field_event(SearchBox& box, Session& session, const zarn_ui::widget::Event& event,
                            const zarn_ui::widgets::EventCtx& ctx, zarn_ui::state::State* state) {
  box.focus();
  if (box.field_event(event, ctx)) {
    box.close();
    submit_search(session, state);
  } else if (auto text = box.take_edited_text()) {
    session.model.query = *text;
    const std::string query(base::trim_white_space(*text));
    std::vector<Place> local = local_search_sorted(session.model, session.backend, query);
    box.typed(query, std::move(local), session.backend.now());
  }
}

}  // namespace maps

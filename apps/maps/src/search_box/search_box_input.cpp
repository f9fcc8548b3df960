#include "search_box/search_box_input.hpp"

#include <string>
#include <utility>
#include <vector>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "transitions/search.hpp"

namespace maps {

void search_box_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                    std::uint32_t modifiers, zarn_ui::state::State& state, double scale) {
  if (key.is(zarn_ui::widget::NamedKey::Escape)) {
    app.search_box.close_search_suggestions();
    return;
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
    box.typed(query, std::move(local), app.mono_now());
  }
}

}  // namespace maps

#include "search_box/search_box_input.hpp"

#include <string>
#include <utility>
#include <vector>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "transitions/search.hpp"

namespace maps {

void search_box_key(MapsApp& app, const zarn_ui::widget::Event& event, const zarn_ui::widget::Key& key,
                    std::uint32_t modifiers, std::uint8_t extra, zarn_ui::state::State& state, double scale) {
  SearchBox& box = app.search_box;
  if (key.is(zarn_ui::widget::NamedKey::Escape)) {
    box.close_search_suggestions();
    return;
  }
  box.focus();
  if (box.field_event(event, modifiers, extra, scale)) {
    box.close();
    submit_search(app, &state);
  } else if (auto text = box.take_edited_text()) {
    app.model.query = *text;
    const std::string query(base::trim_white_space(*text));
    std::vector<Place> local = local_search_sorted(app, query);
    box.typed(query, std::move(local), app.mono_now());
  }
}

}  // namespace maps

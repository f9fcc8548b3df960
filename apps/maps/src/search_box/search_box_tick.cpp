#include "search_box/search_box_tick.hpp"

#include <string>

#include "app/maps_app.hpp"
#include "base/text.hpp"
#include "transitions/search.hpp"

namespace maps {

void fire_search_deadline(MapsApp& app) {
  if (!app.search_box.take_due_deadline(app.backend.now())) return;
  std::string query(base::trim_white_space(app.model.query));
  if (query.empty()) return;
  ask_place_search(app.session(), std::move(query));
}

}  // namespace maps

#include "transitions/search.hpp"

#include "app/maps_app.hpp"

namespace maps {

// Leaves the query unsearched.
void submit_search(MapsApp& /*app*/, zarn_ui::state::State* /*state*/) {}

// Suggests no place.
std::vector<Place> local_search_sorted(const MapsApp& /*app*/, std::string_view /*query*/) { return {}; }

// Keeps the answers in the order they came.
void rank_search_results(std::vector<Place>& /*places*/, std::string_view /*query*/, const MapsApp& /*app*/) {}

void select_poi(MapsApp& app, const std::string& id) { app.selected_poi = id; }

}  // namespace maps

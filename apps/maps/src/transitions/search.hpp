#pragma once
// Place search: submitting the query, the local suggestions, ranking, and choosing a point of
// interest.

#include <string>
#include <string_view>
#include <vector>

#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class MapsApp;

void submit_search(MapsApp& app, zarn_ui::state::State* state);
// The saved and known places matching the query, best first.
std::vector<Place> local_search_sorted(const MapsApp& app, std::string_view query);
// Orders search answers for the query, best first.
void rank_search_results(std::vector<Place>& places, std::string_view query, const MapsApp& app);
void select_poi(MapsApp& app, const std::string& id);

}  // namespace maps

#pragma once
// Place search: submitting the query, the local suggestions, ranking, the nearby points of
// interest, and choosing a point of interest. The matching and ordering themselves are the pure
// functions of maps::search; these apply them to the state's places, points of interest and
// reference point.

#include <string>
#include <string_view>
#include <vector>

#include "model/records.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

class Backend;
struct Session;

// Searches the trimmed query: the local answers at once (the first selected and centred), the
// text recorded as a recent search (committed with a UI state, else on the model's own list),
// "Searching…", and in a live state a geocoding job. A blank query changes nothing.
void submit_search(Session& s, zarn_ui::state::State* state);
// The route origin when set, else the map centre: what searches and the nearby list measure from.
LatLon origin_or_centre(const MapModel& model);
// The stored places and loaded points of interest matching the query, unordered.
std::vector<Place> search_local_places(const MapModel& model, const Backend& backend, std::string_view query);
// The same, best first.
std::vector<Place> local_search_sorted(const MapModel& model, const Backend& backend, std::string_view query);
// Orders search answers for the query, best first, and drops near-duplicates.
void rank_search_results(std::vector<Place>& places, std::string_view query, const MapModel& model);
// The ten loaded points of interest nearest the reference point, the selected one always among them.
std::vector<Poi> nearby_pois(const MapModel& model, const Backend& backend,
                             const std::optional<std::string>& selected_poi);
// The trimmed text at the front of the model's own recent list (no commit): a repeat in other
// letter case replaces the older entry, and eight are kept.
void push_recent_search(Session& s, std::string_view text);
// "Searching…" and a geocoding job for the trimmed, non-blank text, sent once: the latest
// search's text asked again waits for that search's answer or takes it again (LatestSearch).
void ask_place_search(Session& s, std::string text);
void select_poi(Session& s, const std::string& id);

}  // namespace maps

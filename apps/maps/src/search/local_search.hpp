#pragma once
// Matching a typed query against what the application already holds: its stored places and the
// points of interest loaded for the view.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.hpp"

namespace maps::search {

// The place's lower-cased name, address or category label contains the lower-cased query.
bool place_text_matches(std::string_view lower_query, const Place& place);
// The lower-cased query matches a keyword of the place's category.
bool place_category_matches(std::string_view lower_query, const Place& place);
// The point of interest's name, address, category label or kind contains the query, or the query
// matches a keyword of its category.
bool poi_matches(std::string_view lower_query, const Poi& poi);

// Unordered local matches: the places whose text matches (or, only when none does, those whose
// category keywords match), in stored order, then the matching points of interest as new unsaved
// places, skipping ids already listed. An empty or blank query matches nothing.
std::vector<Place> search_local_places(const std::vector<Place>& places, const std::vector<Poi>& pois,
                                       std::string_view query);

// search_local_places, ranked from `reference` (see rank_search_results).
std::vector<Place> local_search_sorted(const std::vector<Place>& places, const std::vector<Poi>& pois,
                                       std::string_view query, LatLon reference);

// What submitting the search box computes before the state records it.
struct SearchSubmission {
  std::string text;            // the query trimmed: recorded in the recent searches and sent to the service
  std::vector<Place> results;  // local answers, best first; the first one becomes the selection
  bool operator==(const SearchSubmission&) const = default;
};

// Nothing for a query that is empty after trimming: such a submission changes nothing.
std::optional<SearchSubmission> prepare_search_submission(const std::vector<Place>& places,
                                                          const std::vector<Poi>& pois, std::string_view query,
                                                          LatLon reference);

}  // namespace maps::search

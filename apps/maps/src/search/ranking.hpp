#pragma once
// Ordering of search answers: best name match first, then nearest, with near-duplicates removed.

#include <optional>
#include <string_view>
#include <vector>

#include "model/records.hpp"

namespace maps::search {

// Two answers with the same folded name closer than this are one place.
inline constexpr double kNearDuplicateM = 150.0;

// The point searches are measured from: the route origin when set, otherwise the map centre.
LatLon origin_or_centre(const std::optional<LatLon>& origin, LatLon center);

// Total order of distances: -0 before +0, NaN (of either sign) after every number.
bool distance_before(double a, double b);

// Stable sort by (match rank of the name, distance from `reference`), then drop every place whose
// folded name equals that of a place kept before it lying less than kNearDuplicateM away.
void sort_and_dedup_results(std::vector<Place>& places, LatLon reference, std::string_view query);

// The ordering applied to local matches and to the geocoding service's answers.
inline void rank_search_results(std::vector<Place>& places, std::string_view query, LatLon reference) {
  sort_and_dedup_results(places, reference, query);
}

}  // namespace maps::search

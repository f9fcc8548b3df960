#pragma once
// The points of interest listed as "nearby": the closest few, with the selected one always shown.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "model/records.hpp"

namespace maps::search {

inline constexpr std::size_t kNearbyCount = 10;

// Copies of the kNearbyCount points of interest nearest `reference`, nearest first (ties keep
// their loaded order). When `selected_poi` names a loaded point that is not among them, it takes
// the front and the farthest of them drops out.
std::vector<Poi> nearby_pois(const std::vector<Poi>& pois, LatLon reference,
                             const std::optional<std::string>& selected_poi);

}  // namespace maps::search

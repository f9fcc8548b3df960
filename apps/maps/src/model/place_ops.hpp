#pragma once
// The model's own operations on its places: lookups by id and the merge of a place that arrives
// again (from a search, a point of interest, the document).

#include <optional>
#include <string>

#include "model/records.hpp"

namespace maps {

Place new_place(const std::string& id, const std::string& name, Category category, const std::string& address,
                LatLon pos);

// The first place with the id (a copy: the list may change under a kept reference).
std::optional<Place> find_place(const MapModel& model, const std::string& id);
std::optional<Place> selected_place(const MapModel& model);
// A known id takes the new name, address, position and category and stays saved once saved;
// an unknown one is appended.
void upsert_place(MapModel& model, const Place& place);
// Whether the place is saved afterwards; false for an unknown id.
bool toggle_place_saved(MapModel& model, const std::string& id);

}  // namespace maps

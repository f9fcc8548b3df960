#pragma once
// The persisted content offered to the action system: the workspace resource with the recent
// searches, the saved places, the active route and journeys, the offline regions and the plan
// settings as its children, each with the actions that change it. Every call reads the model
// from the document again, so the tree always describes the document as it is.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automerge/automerge.hpp"
#include "model/records.hpp"
#include "zarn_actions/resource.hpp"

namespace maps {

using zarn_actions::resource::Resource;

// The id of a place's resource is this prefix and the place's id.
inline constexpr std::string_view kPlacePrefix = "maps.place:";

// At most this many children of each kind.
inline constexpr std::size_t kMaxResourcesPerKind = 12;

// Empty when the document holds no model; otherwise the workspace resource alone.
std::vector<Resource> app_action_resources(const automerge::AutoCommit& doc);
// One resource by id, looked up in the whole model (not only the listed children).
std::optional<Resource> resolve_action_resource(const automerge::AutoCommit& doc, std::string_view id);

Resource workspace_resource(const MapModel& model);
Resource route_resource(const MapModel& model);
Resource transit_resource(const MapModel& model);
Resource plan_settings_resource(const MapModel& model);
Resource search_history_resource(const std::string& text);
Resource place_resource(const Place& place);
Resource region_resource(const DownloadedRegion& region);

}  // namespace maps

#pragma once
// Reading the persisted model back. Nothing here changes the document; a malformed record is
// skipped, never reported.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automerge/automerge.hpp"
#include "model/records.hpp"

namespace maps::doc {

// The model under "maps_v2"; when that is not a map, the older "maps" text entry holding a whole
// model's JSON. None when the document holds no model.
std::optional<MapModel> load_map_model(const automerge::AutoCommit& doc);

// True when "maps_v2" holds a map (the older entry is then never read).
bool holds_model_map(const automerge::AutoCommit& doc);

// Live recent texts, by rank and then record key.
std::vector<std::string> read_recents(const automerge::AutoCommit& doc, const automerge::ExId& model);

// The text at the key parsed as a plan; none when missing or not a plan.
std::optional<ActivePlan> read_plan(const automerge::AutoCommit& doc, const automerge::ExId& obj, std::string_view key);

// Copies the persisted fields of the document's model into `model` (places, recents, route,
// journeys, origin, travel mode, origin_name, dest, dest_name, transit_time, regions). False,
// and `model` unchanged, when the document holds no model.
bool hydrate_state(const automerge::AutoCommit& doc, MapModel& model);

// The persisted fields of `from` copied into `into`; the rest of `into` stays.
void copy_persisted_fields(MapModel&& from, MapModel& into);

}  // namespace maps::doc

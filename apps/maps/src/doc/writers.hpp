#pragma once
// Everything that changes the persisted model: the seeding write of a whole model and the
// writer of each MapsAction. Writers touch only their own keys; rewriting an unchanged scalar
// or text adds no change, lists and plans are rewritten whole. The endpoint keys hold the
// endpoints the person chose, whatever the travel mode: the plans, a mode switch and ending the
// route write them (writers_actions.cpp).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automerge/automerge.hpp"
#include "model/records.hpp"

namespace maps::doc {

// Seeds (or re-seeds) the document with a whole model; ids the model does not hold are tombstoned.
void save_map_model(automerge::AutoCommit& doc, const MapModel& model);

// A document holding only the older "maps" entry gets its model written into "maps_v2", so the
// first action does not hide the older places, recents, regions and plans. True when it did.
bool carry_older_model(automerge::AutoCommit& doc);

// Applies one action through its writer. Never fails.
void maps_action_apply(const MapsAction& action, automerge::AutoCommit& doc);

// Record writers, shared by seeding and the actions.
void write_place(automerge::AutoCommit& doc, const automerge::ExId& record, const Place& place);
void write_region(automerge::AutoCommit& doc, const automerge::ExId& record, const DownloadedRegion& region);
void write_route(automerge::AutoCommit& doc, const automerge::ExId& model, const std::optional<Route>& route);
void write_transit(automerge::AutoCommit& doc, const automerge::ExId& model,
                   const std::vector<TransitJourney>& journeys);
// The recent searches as `recents` lists them, in that order; every other recent key is deleted.
void write_recents(automerge::AutoCommit& doc, const automerge::ExId& model, const std::vector<std::string>& recents);
void clear_recents(automerge::AutoCommit& doc, const automerge::ExId& model);
void write_plan(automerge::AutoCommit& doc, const automerge::ExId& obj, std::string_view key, const ActivePlan& plan);
void tombstone_all(automerge::AutoCommit& doc, const automerge::ExId& model, std::string_view collection);
// "places" or "regions" under the model map (both created when missing), then the record, if any.
std::optional<automerge::ExId> get_record(automerge::AutoCommit& doc, std::string_view collection, std::string_view id);

// The recent list after committing `query`: the trimmed text first as typed, every earlier entry
// that is the same search in any letter case removed (search::push_recent_search), at most
// eight. Unchanged when the trimmed query is empty.
std::vector<std::string> recents_after_commit(std::vector<std::string> recents, std::string_view query);

}  // namespace maps::doc

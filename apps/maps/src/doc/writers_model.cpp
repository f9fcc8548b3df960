#include <set>

#include "doc/primitives.hpp"
#include "doc/readers.hpp"
#include "doc/schema_keys.hpp"
#include "doc/writers.hpp"

namespace maps::doc {

namespace {

// Writes every record of the model's collection, reviving it, and tombstones the ids the model
// no longer holds.
template <class Record, class Write>
void write_collection(AutoCommit& doc, const ExId& model, std::string_view key, const std::vector<Record>& records,
                      Write write) {
  auto map = ensure_map(doc, model, key);
  if (!map) return;
  std::set<std::string, std::less<>> ids;
  for (const Record& r : records) ids.insert(r.id);
  for (const Record& r : records) {
    auto record = ensure_map(doc, *map, r.id);
    if (!record) continue;
    write(doc, *record, r);
    revive_record(doc, *record);
  }
  for (const std::string& id : doc.keys(*map)) {
    if (ids.count(id) != 0) continue;
    if (auto record = get_map(doc, *map, id)) tombstone_record(doc, *record);
  }
}

}  // namespace

void save_map_model(AutoCommit& doc, const MapModel& model) {
  auto root = maps_root(doc);
  if (!root) return;
  write_collection(doc, *root, kPlaces, model.places, write_place);
  write_recents(doc, *root, model.recents);
  write_route(doc, *root, model.route);
  write_transit(doc, *root, model.transit);
  write_text(doc, *root, kMode, travel_mode_key(model.mode));
  write_opt_latlon(doc, *root, kOrigin, model.origin);
  write_text(doc, *root, kOriginName, model.origin_name);
  write_opt_latlon(doc, *root, kDest, model.dest);
  write_text(doc, *root, kDestName, model.dest_name);
  write_text(doc, *root, kTransitTimeMode, model.transit_time.mode == TransitTimeMode::Arrive ? "arrive" : "depart");
  const std::int64_t offset = model.transit_time.offset_min;
  if (read_transit_time_offset(doc, *root, kTransitTimeOffset) != std::optional<std::int64_t>(offset)) {
    (void)doc.put(*root, kTransitTimeOffset, automerge::ScalarValue::int64(offset));
  }
  write_collection(doc, *root, kRegions, model.regions, write_region);

  ActivePlan route_plan;
  if (model.route) {
    route_plan.value =
        ActivePlan::Route{*model.route, model.origin, model.origin_name, model.dest, model.dest_name, model.mode};
  }
  ActivePlan transit_plan;
  if (!model.transit.empty()) {
    transit_plan.value =
        ActivePlan::Transit{model.transit, model.origin, model.origin_name, model.dest, model.dest_name};
  }
  write_plan(doc, *root, kRoutePlan, route_plan);
  write_plan(doc, *root, kTransitPlan, transit_plan);
}

bool carry_older_model(AutoCommit& doc) {
  if (holds_model_map(doc)) return false;
  auto older = load_map_model(doc);
  if (!older) return false;
  save_map_model(doc, *older);
  return true;
}

}  // namespace maps::doc

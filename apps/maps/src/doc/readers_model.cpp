#include <algorithm>

#include "doc/primitives.hpp"
#include "doc/readers.hpp"
#include "doc/readers_records.hpp"
#include "doc/schema_keys.hpp"
#include "model/json_codec.hpp"

namespace maps::doc {

namespace {

template <class Record, class Read>
std::vector<Record> read_collection(const AutoCommit& doc, const ExId& model, std::string_view key, Read read) {
  std::vector<Record> out;
  auto map = get_map(doc, model, key);
  if (!map) return out;
  for (const std::string& k : doc.keys(*map)) {
    if (auto r = read(doc, *map, k)) out.push_back(std::move(*r));
  }
  std::stable_sort(out.begin(), out.end(), [](const Record& a, const Record& b) { return a.id < b.id; });
  return out;
}

struct PlanEndpoints {
  std::optional<LatLon> origin;
  std::string origin_name;
  std::optional<LatLon> dest;
  std::string dest_name;
};

template <class Plan>
PlanEndpoints endpoints_of(const Plan& p) {
  return PlanEndpoints{p.origin, p.origin_name, p.dest, p.dest_name};
}

MapModel read_model_map(const AutoCommit& doc, const ExId& root) {
  MapModel m = default_map_model();
  m.places = read_collection<Place>(doc, root, kPlaces, read_place);
  m.recents = read_recents(doc, root);
  // A plan that parses decides the route or the journeys on its own, so the structured entry
  // under it is read only when the plan cannot (the result is the same, the work is not).
  std::optional<ActivePlan> route_plan = read_plan(doc, root, kRoutePlan);
  std::optional<ActivePlan> transit_plan = read_plan(doc, root, kTransitPlan);
  const bool route_decided = route_plan && !std::holds_alternative<ActivePlan::Transit>(route_plan->value);
  const bool transit_decided = transit_plan && !std::holds_alternative<ActivePlan::Route>(transit_plan->value);
  if (!route_decided && !read_bool(doc, root, kRouteDeleted)) m.route = read_route(doc, root);
  if (!transit_decided && !read_bool(doc, root, kTransitDeleted)) {
    m.transit = read_items(doc, root, kTransit, read_transit_journey);
  }
  if (auto text = read_text(doc, root, kMode)) m.mode = parse_travel_mode(*text).value_or(TravelMode::Car);
  m.origin = read_latlon(doc, root, kOrigin);
  m.origin_name = read_text(doc, root, kOriginName).value_or("Map centre");
  m.dest = read_latlon(doc, root, kDest);
  m.dest_name = read_text(doc, root, kDestName).value_or(std::string{});

  m.transit_time.mode = read_text(doc, root, kTransitTimeMode) == std::optional<std::string>("arrive")
                            ? TransitTimeMode::Arrive
                            : TransitTimeMode::Depart;
  // The stored offset's low 32 bits; the writers store only 32-bit values.
  m.transit_time.offset_min =
      static_cast<std::int32_t>(read_transit_time_offset(doc, root, kTransitTimeOffset).value_or(0));
  if (auto text = read_text(doc, root, kTransitTime)) {
    if (auto parsed = deserialize_transit_time_str(*text)) m.transit_time = *parsed;
  }
  m.regions = read_collection<DownloadedRegion>(doc, root, kRegions, read_region);

  std::optional<PlanEndpoints> route_ends;
  if (auto& plan = route_plan) {
    if (std::holds_alternative<ActivePlan::None>(plan->value)) {
      m.route.reset();
    } else if (auto* r = std::get_if<ActivePlan::Route>(&plan->value)) {
      route_ends = endpoints_of(*r);
      m.route = std::move(r->route);
    }
  }
  std::optional<PlanEndpoints> transit_ends;
  if (auto& plan = transit_plan) {
    if (std::holds_alternative<ActivePlan::None>(plan->value)) {
      m.transit.clear();
    } else if (auto* t = std::get_if<ActivePlan::Transit>(&plan->value)) {
      transit_ends = endpoints_of(*t);
      m.transit = std::move(t->transit);
    }
  }
  // The endpoints follow the plan of the current travel mode.
  const std::optional<PlanEndpoints>& ends = m.mode == TravelMode::Transit ? transit_ends : route_ends;
  if (ends) {
    m.origin = ends->origin;
    m.origin_name = ends->origin_name;
    m.dest = ends->dest;
    m.dest_name = ends->dest_name;
  }
  return m;
}

}  // namespace

bool holds_model_map(const AutoCommit& doc) { return get_map(doc, automerge::ROOT, kRootKey).has_value(); }

std::optional<MapModel> load_map_model(const AutoCommit& doc) {
  if (auto root = get_map(doc, automerge::ROOT, kRootKey)) return read_model_map(doc, *root);
  auto older = doc.get(automerge::ROOT, kOlderRootKey);
  if (!older || !older->has_value() || (*older)->value.obj_type() != automerge::ObjType::Text) return std::nullopt;
  auto text = doc.text((*older)->value.obj_id());
  if (!text) return std::nullopt;
  auto model = deserialize_map_model_str(*text);
  if (!model) return std::nullopt;
  return std::move(model).value();
}

std::vector<std::string> read_recents(const AutoCommit& doc, const ExId& model) {
  std::vector<RecentEntry> entries;
  if (auto map = get_map(doc, model, kRecents)) {
    for (const std::string& key : doc.keys(*map)) {
      if (auto e = read_recent_entry(doc, *map, key)) entries.push_back(std::move(*e));
    }
  }
  // Keys come in byte order, so a stable sort by rank orders equal ranks by key.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const RecentEntry& a, const RecentEntry& b) { return a.rank < b.rank; });
  std::vector<std::string> out;
  out.reserve(entries.size());
  for (RecentEntry& e : entries) out.push_back(std::move(e.text));
  return out;
}

std::optional<ActivePlan> read_plan(const AutoCommit& doc, const ExId& obj, std::string_view key) {
  auto text = read_text(doc, obj, key);
  if (!text) return std::nullopt;
  auto plan = deserialize_active_plan_str(*text);
  if (!plan) return std::nullopt;
  return std::move(plan).value();
}

void copy_persisted_fields(MapModel&& from, MapModel& into) {
  into.places = std::move(from.places);
  into.recents = std::move(from.recents);
  into.route = std::move(from.route);
  into.transit = std::move(from.transit);
  into.origin = from.origin;
  into.mode = from.mode;
  into.origin_name = std::move(from.origin_name);
  into.dest = from.dest;
  into.dest_name = std::move(from.dest_name);
  into.transit_time = from.transit_time;
  into.regions = std::move(from.regions);
}

bool hydrate_state(const AutoCommit& doc, MapModel& model) {
  auto loaded = load_map_model(doc);
  if (!loaded) return false;
  copy_persisted_fields(std::move(*loaded), model);
  return true;
}

}  // namespace maps::doc

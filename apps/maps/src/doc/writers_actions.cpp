#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "base/text.hpp"
#include "doc/primitives.hpp"
#include "doc/readers.hpp"
#include "doc/schema_keys.hpp"
#include "doc/writers.hpp"
#include "model/json_codec.hpp"
#include "search/recents.hpp"

namespace maps::doc {

namespace {

void apply_upsert_places(AutoCommit& doc, const ExId& root, const MapsAction::UpsertPlaces& a) {
  auto places = ensure_map(doc, root, kPlaces);
  if (!places) return;
  for (const Place& place : a.places) {
    auto record = ensure_map(doc, *places, place.id);
    if (!record) continue;
    // A search answer carries saved = false; it must not un-save a live place.
    Place merged = place;
    if (!is_deleted(doc, *record)) merged.saved = place.saved || read_bool_field(doc, *record, "saved");
    write_place(doc, *record, merged);
    revive_record(doc, *record);
  }
}

void apply_set_place_saved(AutoCommit& doc, const MapsAction::SetPlaceSaved& a) {
  auto record = get_record(doc, kPlaces, a.id);
  if (!record || is_deleted(doc, *record)) return;
  put_bool_if_changed(doc, *record, "saved", a.saved);
}

void apply_commit_search(AutoCommit& doc, const MapsAction::CommitSearch& a) {
  if (base::trim_white_space(a.query).empty()) return;  // leaves the document untouched, even "maps_v2"
  auto root = maps_root(doc);
  if (!root) return;
  write_recents(doc, *root, recents_after_commit(read_recents(doc, *root), a.query));
}

void apply_add_region(AutoCommit& doc, const ExId& root, const MapsAction::AddRegion& a) {
  auto regions = ensure_map(doc, root, kRegions);
  if (!regions) return;
  auto record = ensure_map(doc, *regions, a.region.id);
  if (!record) return;
  write_region(doc, *record, a.region);
  revive_record(doc, *record);
}

void apply_delete_region(AutoCommit& doc, const MapsAction::DeleteRegion& a) {
  if (auto record = get_record(doc, kRegions, a.id)) tombstone_record(doc, *record);
}

// The endpoints the person chose, one pair for every travel mode. Each plan also keeps the
// endpoints it was made for, and the loader takes those of the current mode's plan, else the
// endpoint keys. So the chosen pair goes under the endpoint keys whenever it changes, and a mode
// switch ends the new mode's plan when it was made between other positions: it would bring an
// earlier start back, and it answers a trip the person no longer asks about.
struct Endpoints {
  std::optional<LatLon> origin;
  std::string origin_name;
  std::optional<LatLon> dest;
  std::string dest_name;
};

Endpoints stored_endpoints(const AutoCommit& doc) {
  auto model = load_map_model(doc);
  if (!model) return Endpoints{std::nullopt, "Map centre", std::nullopt, {}};
  return Endpoints{model->origin, std::move(model->origin_name), model->dest, std::move(model->dest_name)};
}

void write_endpoints(AutoCommit& doc, const ExId& root, const Endpoints& ends) {
  write_opt_latlon(doc, root, kOrigin, ends.origin);
  write_text(doc, root, kOriginName, ends.origin_name);
  write_opt_latlon(doc, root, kDest, ends.dest);
  write_text(doc, root, kDestName, ends.dest_name);
}

void end_plan_made_elsewhere(AutoCommit& doc, const ExId& root, std::string_view key, const Endpoints& ends) {
  auto plan = read_plan(doc, root, key);
  if (!plan) return;
  const bool elsewhere = std::visit(
      [&](const auto& p) {
        using P = std::decay_t<decltype(p)>;
        if constexpr (std::is_same_v<P, ActivePlan::None>) {
          return false;
        } else {
          return p.origin != ends.origin || p.dest != ends.dest;
        }
      },
      plan->value);
  if (elsewhere) write_plan(doc, root, key, ActivePlan{});
}

void apply_set_travel_mode(AutoCommit& doc, const ExId& root, TravelMode mode) {
  // The endpoints as the mode being left shows them are the ones the new mode goes on with.
  const Endpoints ends = stored_endpoints(doc);
  write_text(doc, root, kMode, travel_mode_key(mode));
  write_endpoints(doc, root, ends);
  end_plan_made_elsewhere(doc, root, mode == TravelMode::Transit ? kTransitPlan : kRoutePlan, ends);
}

void apply_clear_route(AutoCommit& doc, const ExId& root) {
  // Ending the route ends its start too; the destination stays for the next plan.
  Endpoints ends = stored_endpoints(doc);
  write_plan(doc, root, kRoutePlan, ActivePlan{});
  ends.origin.reset();
  ends.origin_name = "Map centre";
  write_endpoints(doc, root, ends);
}

void put_transit_time(AutoCommit& doc, const ExId& root, const TransitTime& value) {
  std::string text;
  text.reserve(128);
  serialize_transit_time_json(value, text);
  put_str(doc, root, kTransitTime, std::move(text));
}

}  // namespace

std::vector<std::string> recents_after_commit(std::vector<std::string> recents, std::string_view query) {
  // The same rule as the state's own list: the records are keyed by the fully lower-cased text,
  // so an ASCII-only comparison would keep "münchen" beside "MÜNCHEN" and the older entry would
  // then take the shared record back.
  search::push_recent_search(recents, query);
  return recents;
}

void maps_action_apply(const MapsAction& action, AutoCommit& doc) {
  if (const auto* search = std::get_if<MapsAction::CommitSearch>(&action.value)) {
    apply_commit_search(doc, *search);
    return;
  }
  auto root_opt = maps_root(doc);
  if (!root_opt) return;
  const ExId& root = *root_opt;
  std::visit(
      [&](const auto& a) {
        using A = std::decay_t<decltype(a)>;
        if constexpr (std::is_same_v<A, MapsAction::UpsertPlaces>) {
          apply_upsert_places(doc, root, a);
        } else if constexpr (std::is_same_v<A, MapsAction::SetPlaceSaved>) {
          apply_set_place_saved(doc, a);
        } else if constexpr (std::is_same_v<A, MapsAction::CommitSearch>) {
          apply_commit_search(doc, a);
        } else if constexpr (std::is_same_v<A, MapsAction::ClearRecents>) {
          clear_recents(doc, root);
        } else if constexpr (std::is_same_v<A, MapsAction::SetTravelMode>) {
          apply_set_travel_mode(doc, root, a.mode);
        } else if constexpr (std::is_same_v<A, MapsAction::SetTransitTime>) {
          put_transit_time(doc, root, a.value);
        } else if constexpr (std::is_same_v<A, MapsAction::ClearRoute>) {
          apply_clear_route(doc, root);
        } else if constexpr (std::is_same_v<A, MapsAction::SetRoute>) {
          write_text(doc, root, kMode, travel_mode_key(a.mode));
          write_plan(doc, root, kRoutePlan,
                     ActivePlan{ActivePlan::Route{a.route, a.origin, a.origin_name, a.dest, a.dest_name, a.mode}});
          write_endpoints(doc, root, Endpoints{a.origin, a.origin_name, a.dest, a.dest_name});
        } else if constexpr (std::is_same_v<A, MapsAction::SetTransit>) {
          write_text(doc, root, kMode, travel_mode_key(TravelMode::Transit));
          write_plan(doc, root, kTransitPlan,
                     ActivePlan{ActivePlan::Transit{a.transit, a.origin, a.origin_name, a.dest, a.dest_name}});
          write_endpoints(doc, root, Endpoints{a.origin, a.origin_name, a.dest, a.dest_name});
        } else if constexpr (std::is_same_v<A, MapsAction::ClearTransit>) {
          write_plan(doc, root, kTransitPlan, ActivePlan{});
        } else if constexpr (std::is_same_v<A, MapsAction::AddRegion>) {
          apply_add_region(doc, root, a);
        } else if constexpr (std::is_same_v<A, MapsAction::DeleteRegion>) {
          apply_delete_region(doc, a);
        } else {
          static_assert(std::is_same_v<A, MapsAction::ClearRegions>);
          tombstone_all(doc, root, kRegions);
        }
      },
      action.value);
}

}  // namespace maps::doc

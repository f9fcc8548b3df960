#include "action_surface/action_resources.hpp"

#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "action_surface/action_encoding.hpp"
#include "base/text.hpp"
#include "doc/readers.hpp"
#include "format/labels.hpp"

namespace maps {

namespace zr = zarn_actions::resource;

namespace {

constexpr std::string_view kHistoryPrefix = "maps.search-history:";
constexpr std::string_view kRegionPrefix = "maps.region:";
constexpr std::int32_t kTimeStepMin = 15;
constexpr std::int32_t kMaxOffsetMin = 1440;

std::int32_t shifted_offset(std::int32_t offset, std::int32_t delta) {
  const std::int64_t v = std::int64_t{offset} + delta;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, kMaxOffsetMin));
}

std::optional<std::string_view> after_prefix(std::string_view id, std::string_view prefix) {
  if (!id.starts_with(prefix)) return std::nullopt;
  return id.substr(prefix.size());
}

}  // namespace

Resource search_history_resource(const std::string& text) {
  ActionSpec again = param_text_action_spec("search-again", "Search again", zr::ActionKind::Interface,
                                            std::string(kSearchActionType), text);
  // A contract with neither an input type nor scopes: the front end treats it as a plain command.
  again.contract = zr::ActionContract{};
  return Resource(std::string(kHistoryPrefix) + text, "maps.search-history", text).with_action(std::move(again));
}

Resource place_resource(const Place& place) {
  return Resource(std::string(kPlacePrefix) + place.id, "maps.place", place.name)
      .with_action(action_spec_with_contract("unsave", "Remove from saved",
                                             MapsAction{MapsAction::SetPlaceSaved{place.id, false}}));
}

Resource route_resource(const MapModel& model) {
  const std::string_view dest(base::trim_white_space(model.dest_name));
  std::string title = dest.empty() ? std::string("Active route") : fmt::format("Route to {}", dest);
  return Resource("maps.route:active", "maps.route", std::move(title))
      .with_action(action_spec_with_contract("clear", "Clear route", MapsAction{MapsAction::ClearRoute{}}));
}

Resource transit_resource(const MapModel& model) {
  return Resource("maps.transit:active", "maps.transit", fmt::format("{} transit option(s)", model.transit.size()))
      .with_action(action_spec_with_contract("clear", "Clear transit options", MapsAction{MapsAction::ClearTransit{}}));
}

Resource region_resource(const DownloadedRegion& region) {
  return Resource(std::string(kRegionPrefix) + region.id, "maps.region",
                  fmt::format("{} \u00b7 z{}\u2013{}", region.name, region.z0, region.z1))
      .with_action(
          action_spec_with_contract("delete", "Delete region", MapsAction{MapsAction::DeleteRegion{region.id}}));
}

Resource plan_settings_resource(const MapModel& model) {
  Resource r("maps.plan-settings", "maps.plan-settings", "Route planning settings");
  static constexpr std::array<TravelMode, 4> kModes = {TravelMode::Car, TravelMode::Transit, TravelMode::Bike,
                                                       TravelMode::Foot};
  for (const TravelMode mode : kModes) {
    const std::string_view label = travel_mode_label(mode);
    r.with_action(action_spec_with_contract(fmt::format("travel-mode-{}", travel_mode_id(mode)),
                                            fmt::format("Travel by {}", label),
                                            MapsAction{MapsAction::SetTravelMode{mode}}));
  }
  const TransitTime& t = model.transit_time;
  r.with_action(action_spec_with_contract(
      "travel-time-earlier", "Plan 15 minutes earlier",
      MapsAction{MapsAction::SetTransitTime{TransitTime{t.mode, shifted_offset(t.offset_min, -kTimeStepMin)}}}));
  r.with_action(action_spec_with_contract(
      "travel-time-now", "Leave now", MapsAction{MapsAction::SetTransitTime{TransitTime{TransitTimeMode::Depart, 0}}}));
  r.with_action(action_spec_with_contract(
      "travel-time-later", "Plan 15 minutes later",
      MapsAction{MapsAction::SetTransitTime{TransitTime{t.mode, shifted_offset(t.offset_min, kTimeStepMin)}}}));
  return r;
}

Resource workspace_resource(const MapModel& model) {
  Resource w("maps.workspace", "maps.workspace", "Maps");
  if (!model.regions.empty()) {
    w.with_action(
        action_spec_with_contract("clear-regions", "Clear offline areas", MapsAction{MapsAction::ClearRegions{}}));
  }
  w.with_action(text_input_action_spec("search", "Search maps", "Place, address, or category", "e.g. museum near me",
                                       zr::ActionKind::Interface, std::string(kSearchActionType)));
  if (!model.recents.empty()) {
    w.with_action(action_spec_with_contract("clear-search-history", "Clear search history",
                                            MapsAction{MapsAction::ClearRecents{}}));
  }

  const std::size_t recents = std::min(model.recents.size(), kMaxResourcesPerKind);
  for (std::size_t i = 0; i < recents; ++i) w.with_child(search_history_resource(model.recents[i]));
  std::size_t saved = 0;
  for (const Place& place : model.places) {
    if (!place.saved) continue;
    if (saved++ == kMaxResourcesPerKind) break;
    w.with_child(place_resource(place));
  }
  if (model.route) w.with_child(route_resource(model));
  if (!model.transit.empty()) w.with_child(transit_resource(model));
  const std::size_t regions = std::min(model.regions.size(), kMaxResourcesPerKind);
  for (std::size_t i = 0; i < regions; ++i) w.with_child(region_resource(model.regions[i]));
  w.with_child(plan_settings_resource(model));
  return w;
}

std::vector<Resource> app_action_resources(const automerge::AutoCommit& doc) {
  const std::optional<MapModel> model = doc::load_map_model(doc);
  if (!model) return {};
  std::vector<Resource> out;
  out.push_back(workspace_resource(*model));
  return out;
}

std::optional<Resource> resolve_action_resource(const automerge::AutoCommit& doc, std::string_view id) {
  const std::optional<MapModel> model = doc::load_map_model(doc);
  if (!model) return std::nullopt;
  const MapModel& m = *model;
  if (id == "maps.workspace") return workspace_resource(m);
  if (id == "maps.route:active") return m.route ? std::optional<Resource>(route_resource(m)) : std::nullopt;
  if (id == "maps.transit:active") {
    return m.transit.empty() ? std::nullopt : std::optional<Resource>(transit_resource(m));
  }
  if (id == "maps.plan-settings") return plan_settings_resource(m);
  if (auto text = after_prefix(id, kHistoryPrefix)) {
    for (const std::string& recent : m.recents) {
      if (recent == *text) return search_history_resource(recent);
    }
    return std::nullopt;
  }
  if (auto place_id = after_prefix(id, kPlacePrefix)) {
    for (const Place& place : m.places) {
      if (place.id == *place_id && place.saved) return place_resource(place);
    }
    return std::nullopt;
  }
  if (auto region_id = after_prefix(id, kRegionPrefix)) {
    for (const DownloadedRegion& region : m.regions) {
      if (region.id == *region_id) return region_resource(region);
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace maps

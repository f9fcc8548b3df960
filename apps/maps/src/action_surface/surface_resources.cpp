#include "action_surface/surface_resources.hpp"

#include <algorithm>
#include <string>

#include "action_surface/action_encoding.hpp"
#include "action_surface/action_resources.hpp"
#include "model/place_ops.hpp"
#include "search/nearby.hpp"
#include "search/ranking.hpp"

namespace maps {

namespace zr = zarn_actions::resource;

namespace {

constexpr std::string_view kResultPrefix = "maps.search-result:";
constexpr std::string_view kPoiPrefix = "maps.poi:";

// An interface action on a resource: it runs the window's action `runs` with `argument`.
ActionSpec surface_spec(std::string name, std::string title, ActionKind kind, std::string runs,
                        std::string_view argument) {
  zr::ActionContract contract;
  contract.scopes = {"maps"};
  contract.input_type = runs;
  return param_text_action_spec(std::move(name), std::move(title), kind, std::move(runs), argument)
      .with_contract(std::move(contract));
}

ActionSpec locate_spec(const Backend& backend) {
  ActionSpec spec = surface_spec("locate", "Use my location", zr::ActionKind::Device, "maps.locate", "");
  if (!backend.live) {
    spec.availability =
        zr::Availability::refused("location_service_offline", "The location service is unavailable in this session");
  } else if (backend.location.receiver) {
    spec.availability = zr::Availability::refused("request_in_progress", "A location request is already in progress");
  }
  return spec;
}

std::optional<std::string> id_after(const std::string& id, std::string_view prefix) {
  if (!id.starts_with(prefix)) return std::nullopt;
  return id.substr(prefix.size());
}

void insert_first(zr::Resource& r, ActionSpec spec) { r.actions.insert(r.actions.begin(), std::move(spec)); }

const Poi* loaded_poi(const Backend& backend, const std::string& id) {
  const std::vector<Poi>& pois = backend.view_pois.pois;
  auto it = std::find_if(pois.begin(), pois.end(), [&](const Poi& p) { return p.id == id; });
  return it == pois.end() ? nullptr : &*it;
}

const Place* result_place(const MapModel& model, const std::string& id) {
  const auto& results = model.results;
  auto it = std::find_if(results.begin(), results.end(), [&](const Place& p) { return p.id == id; });
  return it == results.end() ? nullptr : &*it;
}

zr::Resource fallback_workspace() { return zr::Resource("maps.workspace", "maps.workspace", "Maps"); }

}  // namespace

void add_surface_actions(const MapModel& model, const Backend& backend, zr::Resource& r) {
  using kinds = zr::ActionKind;
  if (r.kind == "maps.workspace") {
    r.with_action(locate_spec(backend));
    r.with_action(surface_spec("toggle-traffic", backend.traffic.enabled ? "Hide traffic" : "Show traffic",
                               kinds::Interface, "maps.toggle-traffic", ""));
  } else if (r.kind == "maps.place" || r.kind == "maps.search-result") {
    const auto id = id_after(r.id, r.kind == "maps.place" ? kPlacePrefix : kResultPrefix);
    if (id && find_place(model, *id)) {
      if (r.kind == "maps.place") {
        insert_first(r, surface_spec("open", "Open place", kinds::Interface, "maps.open-place", *id));
      }
      insert_first(r, surface_spec("directions", "Get directions", kinds::Interface, "maps.directions", *id));
    }
  } else if (r.kind == "maps.poi") {
    const auto id = id_after(r.id, kPoiPrefix);
    if (id && loaded_poi(backend, *id)) {
      r.with_action(surface_spec("open", "Open place", kinds::Interface, "maps.open-poi", *id));
      r.with_action(surface_spec("directions", "Get directions", kinds::Interface, "maps.directions-poi", *id));
    }
  }
  for (zr::Resource& child : r.children) add_surface_actions(model, backend, child);
}

std::vector<zr::Resource> surface_resources(const ResourceInputs& in, const zarn_ui::state::State& state) {
  std::vector<zr::Resource> out = app_action_resources(state.doc());
  if (out.empty()) out.push_back(fallback_workspace());
  zr::Resource& root = out.front();
  const auto& results = in.model.results;
  for (std::size_t i = 0; i < std::min(results.size(), kMaxResourcesPerKind); ++i) {
    root.with_child(zr::Resource(std::string(kResultPrefix) + results[i].id, "maps.search-result", results[i].name));
  }
  const std::vector<Poi> nearby = search::nearby_pois(
      in.backend.view_pois.pois, search::origin_or_centre(in.model.origin, in.model.center), in.selected_poi);
  for (std::size_t i = 0; i < std::min(nearby.size(), kMaxResourcesPerKind); ++i) {
    root.with_child(zr::Resource(std::string(kPoiPrefix) + nearby[i].id, "maps.poi", nearby[i].name));
  }
  for (zr::Resource& r : out) add_surface_actions(in.model, in.backend, r);
  return out;
}

zarn_ui::resource_query::ResourcePage query_surface_resources(const ResourceInputs& in,
                                                              const zarn_ui::resource_query::ResourceQuery& query,
                                                              const zarn_ui::state::State& state) {
  zarn_ui::resource_query::ResourcePage page;
  page.complete = true;
  if (!query.continuation && query.page_size != 0) page.items = surface_resources(in, state);
  return page;
}

std::optional<zr::Resource> surface_resource(const ResourceInputs& in, std::string_view id,
                                             const zarn_ui::state::State& state) {
  std::optional<zr::Resource> found = resolve_action_resource(state.doc(), id);
  const std::string key(id);
  if (!found && key == "maps.workspace") found = fallback_workspace();
  if (!found) {
    if (auto rest = id_after(key, kResultPrefix)) {
      if (const Place* place = result_place(in.model, *rest)) {
        found = zr::Resource(key, "maps.search-result", place->name);
      }
    } else if (auto poi_id = id_after(key, kPoiPrefix)) {
      if (const Poi* poi = loaded_poi(in.backend, *poi_id)) found = zr::Resource(key, "maps.poi", poi->name);
    }
  }
  if (found) add_surface_actions(in.model, in.backend, *found);
  return found;
}

}  // namespace maps

#pragma once
// The resources the window offers: the document's tree (or a bare workspace when the document
// holds no model yet) with the search results and nearby points of interest added, and the
// interface actions that each kind of resource gets on top of its own.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backend/backend.hpp"
#include "model/records.hpp"
#include "zarn_actions/resource.hpp"
#include "zarn_ui/resource_query.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

// What the resources read of the window besides the document.
struct ResourceInputs {
  const MapModel& model;
  // The places of the view, the location request and the traffic switch.
  const Backend& backend;
  const std::optional<std::string>& selected_poi;
};

std::vector<zarn_actions::resource::Resource> surface_resources(const ResourceInputs& in,
                                                                const zarn_ui::state::State& state);
// A query without a continuation and with a page size gets everything in one page; any other
// query an empty page.
zarn_ui::resource_query::ResourcePage query_surface_resources(const ResourceInputs& in,
                                                              const zarn_ui::resource_query::ResourceQuery& query,
                                                              const zarn_ui::state::State& state);
std::optional<zarn_actions::resource::Resource> surface_resource(const ResourceInputs& in, std::string_view id,
                                                                 const zarn_ui::state::State& state);
// The interface actions of the resource's kind, then the same for every child.
void add_surface_actions(const MapModel& model, const Backend& backend, zarn_actions::resource::Resource& resource);

}  // namespace maps

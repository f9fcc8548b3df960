#pragma once
// The resources the window offers: the document's tree (or a bare workspace when the document
// holds no model yet) with the search results and nearby points of interest added, and the
// interface actions that each kind of resource gets on top of its own.

#include <optional>
#include <string_view>
#include <vector>

#include "zarn_actions/resource.hpp"
#include "zarn_ui/resource_query.hpp"
#include "zarn_ui/state.hpp"

namespace maps {

class MapsApp;

std::vector<zarn_actions::resource::Resource> surface_resources(const MapsApp& app, const zarn_ui::state::State& state);
// A query without a continuation and with a page size gets everything in one page; any other
// query an empty page.
zarn_ui::resource_query::ResourcePage query_surface_resources(const MapsApp& app,
                                                              const zarn_ui::resource_query::ResourceQuery& query,
                                                              const zarn_ui::state::State& state);
std::optional<zarn_actions::resource::Resource> surface_resource(const MapsApp& app, std::string_view id,
                                                                 const zarn_ui::state::State& state);
// The interface actions of the resource's kind, then the same for every child.
void add_surface_actions(const MapsApp& app, zarn_actions::resource::Resource& resource);

}  // namespace maps

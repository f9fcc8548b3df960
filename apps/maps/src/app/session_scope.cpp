#include "app/session_scope.hpp"

#include <type_traits>
#include <utility>
#include <variant>

#include "app/maps_app.hpp"

namespace maps {
namespace {

void apply(MapsApp& app, ViewRequest& request) {
  std::visit(
      [&](auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, view_request::ResetPanelScroll>) {
          app.side_panel.reset_scroll();
        } else if constexpr (std::is_same_v<R, view_request::ClearSearchSuggestions>) {
          app.search_box.clear_search_suggestions();
        } else if constexpr (std::is_same_v<R, view_request::ResetEndpointEditor>) {
          app.endpoint_editor.reset_endpoint_editor();
        } else if constexpr (std::is_same_v<R, view_request::EditEndpoint>) {
          app.endpoint_editor.begin_endpoint_edit(r.field);
        } else if constexpr (std::is_same_v<R, view_request::EndpointSuggestions>) {
          app.endpoint_editor.set_endpoint_suggestions(r.field, std::move(r.places));
        } else if constexpr (std::is_same_v<R, view_request::ResetNavigation>) {
          app.navigation.reset();
        }
      },
      request);
}

}  // namespace

SessionScope::SessionScope(MapsApp& app)
    : app_(app), session_{app.model, app.transient,  app.commits,     app.backend, app.selected_poi,
                          app.panel, app.vector_map, app.bounds_rect, requests_} {}

SessionScope::~SessionScope() {
  for (ViewRequest& request : requests_) apply(app_, request);
}

}  // namespace maps

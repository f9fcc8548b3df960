#include "app/session_scope.hpp"

#include <cmath>
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
        } else if constexpr (std::is_same_v<R, view_request::CloseSearchSuggestions>) {
          app.search_box.close_search_suggestions();
        }
      },
      request);
}

// Whether or not a route is shown yet: a fit made as the route arrives keeps its start and end
// clear of the panel that comes with it.
double navigation_cover(const MapsApp& app) {
  const NavigationPanel& nav = app.navigation;
  if (!nav.docked_visible(/*has_route=*/true, is_narrow_layout(app.bounds_rect), app.panel.expanded)) return 0.0;
  const double cover = app.bounds_rect.y1 - nav.panel_rect(app.bounds_rect).y0;
  return std::isfinite(cover) && cover > 0.0 ? cover : 0.0;
}

}  // namespace

SessionScope::SessionScope(MapsApp& app)
    : app_(app), session_{app.model, app.transient,  app.commits,     app.backend, app.selected_poi,
                          app.panel, app.vector_map, app.bounds_rect, requests_,   navigation_cover(app)} {}

SessionScope::~SessionScope() {
  for (ViewRequest& request : requests_) apply(app_, request);
}

}  // namespace maps

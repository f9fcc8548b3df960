#pragma once
// What a change of the state may touch: the model and the document's road, the work behind the
// window, and the few window fields the changes share. The views are not in it: a change that
// needs a view to follow (its scroll back to the top, its suggestions gone, a field to edit) asks
// for it in `requests`, and the window applies them, in order, once the change is over.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "backend/backend.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "messages/endpoint_field.hpp"
#include "model/records.hpp"
#include "model/vector_map.hpp"
#include "transitions/commit.hpp"
#include "transitions/transient_overlay.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

namespace view_request {
struct ResetPanelScroll {};
struct ClearSearchSuggestions {};
struct ResetEndpointEditor {};
// The field takes the focus, empty, to be typed into.
struct EditEndpoint {
  EndpointField field;
};
struct EndpointSuggestions {
  EndpointField field;
  std::vector<Place> places;
};
struct ResetNavigation {};
// The search box's list closes and empties (a press or a choice in the endpoint editor).
struct CloseSearchSuggestions {};
}  // namespace view_request

using ViewRequest =
    std::variant<view_request::ResetPanelScroll, view_request::ClearSearchSuggestions,
                 view_request::ResetEndpointEditor, view_request::EditEndpoint, view_request::EndpointSuggestions,
                 view_request::ResetNavigation, view_request::CloseSearchSuggestions>;
using ViewRequests = std::vector<ViewRequest>;

struct Session {
  MapModel& model;
  TransientOverlay& transient;
  CommitPath& commits;
  Backend& backend;
  std::optional<std::string>& selected_poi;
  PanelFlags& panel;
  const VectorMap& vector_map;
  const zarn_ui::Rect& bounds;
  ViewRequests& requests;
  // How far up from the bottom of the window the docked navigation panel covers the map while a
  // road route is shown; 0 where the panel floats, is on the desktop or is hidden.
  double navigation_cover = 0.0;

  void set_status(std::string text, StatusKind kind = StatusKind::Outcome) {
    backend.status.set(model, std::move(text), kind);
  }
  void clear_status() { set_status({}); }
  void report_failure(std::string_view prefix, Service service, const base::Error& error) {
    backend.status.report_failure(model, prefix, service, error, backend.now());
  }
  LocalDateTime now_local() const { return backend.now_local(); }
  void commit(zarn_ui::state::State& state, MapsAction action) {
    commit_action(model, transient, commits, state, std::move(action));
  }
};

}  // namespace maps

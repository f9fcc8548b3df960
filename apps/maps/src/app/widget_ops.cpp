// The frame predicates the window loop asks every frame, the window's modal area, and the
// action and accessibility operations, which the action surface answers.

#include "action_surface/surface_resources.hpp"
#include "action_surface/ui_actions.hpp"
#include "app/access_tree.hpp"
#include "app/action_surface_view.hpp"
#include "app/maps_app.hpp"

namespace maps {

bool MapsApp::has_pending_work() const {
  return backend.pending_jobs != 0 || !commits.doc_initialised || backend.location.pending ||
         backend.location.receiver.has_value() || backend.view_pois.idle_deadline.has_value() ||
         backend.plans.journey_wait.has_value() || tiles_in_flight(backend.tiles) ||
         download_in_progress(backend.tiles);
}

bool MapsApp::needs_frame() const {
  if (backend.pending_jobs != 0 || search_box.is_open() || search_box.deadline() || endpoint_editor.deadline() ||
      backend.view_pois.idle_deadline || endpoint_editor.editing() || backend.location.pending ||
      backend.location.receiver.has_value() || tiles_in_flight(backend.tiles) || download_in_progress(backend.tiles) ||
      navigation.dragging() || map_layers.picture_pending()) {
    return true;
  }
  if (navigation.animating(reduce_motion)) return true;
  return overlay.tooltip_in_progress();
}

bool MapsApp::has_armed_timer() const { return offline_panel.deadline().has_value(); }

std::optional<Rect> MapsApp::modal_rect() const {
  if (auto dialog_rect = dialog.modal_rect()) return dialog_rect;
  return offline_panel.modal_rect();
}

std::optional<zarn_ui::access::AccessNode> MapsApp::access_node() const { return maps_access_node(*this); }

std::optional<Rect> MapsApp::access_child_bounds(std::span<const std::size_t> path) const {
  return maps_access_child_bounds(*this, path);
}

bool MapsApp::perform_semantic_action(std::string_view id, zarn_ui::access::SemanticAction action,
                                      zarn_ui::state::State& state) {
  return maps_semantic_action(*this, id, action, state);
}

std::vector<zarn_actions::resource::Resource> MapsApp::resources(const zarn_ui::state::State& state) const {
  return surface_resources(resource_inputs(*this), state);
}

zarn_ui::resource_query::ResourcePage MapsApp::query_resources(const zarn_ui::resource_query::ResourceQuery& query,
                                                               const zarn_ui::state::State& state) const {
  return query_surface_resources(resource_inputs(*this), query, state);
}

std::optional<zarn_actions::resource::Resource> MapsApp::resource(std::string_view id,
                                                                  const zarn_ui::state::State& state) const {
  return surface_resource(resource_inputs(*this), id, state);
}

std::optional<zarn_ui::widget::ActionOutput> MapsApp::take_pending_action_output() {
  auto entry = commits.action_host.take_pending_output();
  if (!entry) return std::nullopt;
  return zarn_ui::widget::ActionOutput{std::move(entry->type_name), std::move(entry->label), entry->succeeded,
                                       std::move(entry->error)};
}

zarn_ui::ui_action::ActionOutcome MapsApp::perform_action(zarn_ui::state::State& state,
                                                          zarn_actions::resource::ActionKind kind, std::string_view id,
                                                          std::string_view argument) {
  return perform_ui_action(session(), state, kind, id, argument);
}

zarn_ui::ui_action::BeginOutcome MapsApp::begin_action(zarn_ui::state::State& state,
                                                       const zarn_ui::ui_action::RequestId& request,
                                                       zarn_actions::resource::ActionKind kind, std::string_view id,
                                                       std::string_view argument) {
  return begin_ui_action(action_surface, session(), state, request, kind, id, argument);
}

std::optional<zarn_ui::ui_action::AsyncResult> MapsApp::poll_action(const zarn_ui::ui_action::RequestId& request) {
  return action_surface.take_result(request);
}

}  // namespace maps

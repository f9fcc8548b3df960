#pragma once
// MapsApp: the composition root. The framework owns it as its root widget. It holds the model,
// the flags and counters that several views and the transitions share, the frame's hit targets,
// and one member per view; each view keeps its own state. Its member functions live in the files
// of their area (construction, tick, layout, drawing, input, ...).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "action_surface/action_surface.hpp"
#include "app/pointer_state.hpp"
#include "app/session_scope.hpp"
#include "automerge/automerge.hpp"
#include "backend/backend.hpp"
#include "backend/latest_search.hpp"
#include "backend/plan_request.hpp"
#include "base/mono_clock.hpp"
#include "directions/endpoint_editor.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "format/failure_text.hpp"
#include "format/local_date_time.hpp"
#include "geo/screen_view.hpp"
#include "location/location.hpp"
#include "map_layers/layer_cache.hpp"
#include "menu/dialog.hpp"
#include "menu/overflow_menu.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "model/vector_map.hpp"
#include "navigation/navigation_panel.hpp"
#include "offline_panel/offline_panel.hpp"
#include "overlay/map_overlay.hpp"
#include "search_box/search_box.hpp"
#include "side_panel/side_panel.hpp"
#include "tiles/tile_store.hpp"
#include "transitions/commit.hpp"
#include "zarn_ui/clipboard.hpp"
#include "zarn_ui/event_ctx.hpp"
#include "zarn_ui/system_clipboard.hpp"
#include "zarn_ui/widget.hpp"

namespace zarn_ui::state {
class State;
}

namespace maps {

inline constexpr std::string_view kPasteUnreadableText =
    "Nothing was pasted: what is on the clipboard could not be read as text";

class MapsApp final : public zarn_ui::widget::Widget, public zarn_ui::widget::FloatingSurfaceHost {
 public:
  // Model.
  MapModel model;

  // The road of every committed MapsAction, and where the model last met the document.
  CommitPath commits;
  // The work behind the window: jobs, their answers, the clock, the status line's kind.
  Backend backend;

  // Flags and counters shared by the transitions, the views and the tick.
  std::optional<std::string> selected_poi;
  VectorMap vector_map;
  PanelFlags panel;

  // The views.
  MapLayers map_layers;
  MapOverlay overlay;
  SearchBox search_box;
  SidePanel side_panel;
  EndpointEditor endpoint_editor;
  NavigationPanel navigation;
  OfflinePanel offline_panel;
  OverflowMenu overflow_menu;
  Dialog dialog;
  ActionSurface action_surface;

  // Layout, pointer and frame.
  Rect bounds_rect;
  Rect drawn_bounds;
  // The scale bar's backdrop as this frame drew it; none when it was not drawn.
  std::optional<Rect> drawn_scale_bar;
  std::optional<zarn_ui::layout::NodeId> layout_node;
  PointerState pointer;
  bool reduce_motion = false;
  // Emptied at the start of every draw and refilled by the painters in drawing order; presses
  // test them from the last to the first.
  std::vector<HitTarget> hit_targets;

  // The clipboard the text fields cut, copy and paste through; tests put one in memory here.
  // A paste that finds something there it cannot read as text says so in the status.
  zarn_ui::clipboard::Clipboard* clipboard = &zarn_ui::launch::system_clipboard();

  // Direct writes of persisted fields that hydration must not undo (see transitions/transient_overlay.hpp).
  TransientOverlay transient;

  // The state the transitions change, for one statement; see app/session_scope.hpp.
  SessionScope session() { return SessionScope(*this); }

  // The status line's text and what it tells.
  void set_status(std::string text, StatusKind kind = StatusKind::Outcome) {
    backend.status.set(model, std::move(text), kind);
  }
  void clear_status() { set_status({}); }
  // "{prefix}{short text}" for the service's failure, for 10 s or until the service answers
  // again; the error's full text goes to the log.
  void report_failure(std::string_view prefix, Service service, const base::Error& error) {
    backend.status.report_failure(model, prefix, service, error, backend.now());
  }
  LocalDateTime now_local() const { return backend.now_local(); }
  // What the text fields get beside an event.
  zarn_ui::widgets::EventCtx field_ctx(std::uint32_t modifiers, double scale) const {
    return {modifiers, scale, clipboard};
  }

  // Widget.
  zarn_ui::widget::FloatingSurfaceHost* floating_surface_host() override { return this; }
  const zarn_ui::widget::FloatingSurfaceHost* floating_surface_host() const override { return this; }
  void tick(zarn_ui::state::State& state) override;
  std::optional<zarn_ui::layout::NodeId> build_layout(zarn_ui::layout::LayoutTree& tree, const zarn_ui::theme::Theme&,
                                                      zarn_ui::layout::NodeWidgetMap& widgets) override;
  void apply_layout(const zarn_ui::layout::LayoutTree& tree, zarn_ui::layout::NodeId node, Point origin) override;
  void draw(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, const zarn_ui::widget::PaintCtx& ctx) override;
  void handle_event(const zarn_ui::widget::Event& event, std::uint32_t modifiers, zarn_ui::state::State& state,
                    bool& handled, double scale) override;
  std::vector<std::string> action_names() const override { return action_surface.action_names(); }
  std::string_view type_name() const override { return "MapsApp"; }
  std::string_view widget_id() const override { return "maps_app"; }
  Rect bounds() const override { return bounds_rect; }
  void set_reduce_motion(bool on) override { reduce_motion = on; }
  bool has_pending_work() const override;
  bool needs_frame() const override;
  bool has_armed_timer() const override;
  std::optional<std::chrono::milliseconds> next_deadline() const override;
  void set_waker(std::function<void()> wake) override;
  bool has_pointer_capture() const override { return navigation.dragging(); }
  std::optional<Rect> modal_rect() const override;

  // The action and accessibility surface (action_surface/).
  std::optional<zarn_ui::access::AccessNode> access_node() const override;
  std::optional<Rect> access_child_bounds(std::span<const std::size_t> path) const override;
  bool perform_semantic_action(std::string_view id, zarn_ui::access::SemanticAction action,
                               zarn_ui::state::State& state) override;
  std::vector<zarn_actions::resource::Resource> resources(const zarn_ui::state::State& state) const override;
  zarn_ui::resource_query::ResourcePage query_resources(const zarn_ui::resource_query::ResourceQuery& query,
                                                        const zarn_ui::state::State& state) const override;
  std::optional<zarn_actions::resource::Resource> resource(std::string_view id,
                                                           const zarn_ui::state::State& state) const override;
  std::optional<zarn_ui::widget::ActionOutput> take_pending_action_output() override;
  zarn_ui::ui_action::ActionOutcome perform_action(zarn_ui::state::State& state,
                                                   zarn_actions::resource::ActionKind kind, std::string_view id,
                                                   std::string_view argument) override;
  zarn_ui::ui_action::BeginOutcome begin_action(zarn_ui::state::State& state,
                                                const zarn_ui::ui_action::RequestId& request,
                                                zarn_actions::resource::ActionKind kind, std::string_view id,
                                                std::string_view argument) override;
  std::optional<zarn_ui::ui_action::AsyncResult> poll_action(const zarn_ui::ui_action::RequestId& request) override;

  // Floating-surface host: the navigation panel on the desktop (app/navigation_view.cpp).
  std::optional<zarn_ui::floating_surface::FloatingSurfaceRequest> take_surface_request() override;
  void draw_floating(zarn_ui::Scene& scene, const zarn_ui::Affine& transform, zarn_ui::text_render::TextRenderer& text,
                     const zarn_ui::theme::Theme& theme) override;
  std::vector<zarn_ui::floating_surface::FloatingSurfaceEntry> floating_surfaces() const override;
  std::vector<std::string> surface_snapshot() const override;
  void set_host_rect(const Rect& rect) override;
  void apply_surface_event(const zarn_ui::floating_surface::SurfaceEvent& event) override;
  void handle_surface_event(const std::string& id, const zarn_ui::widget::Event& event, std::uint32_t modifiers,
                            zarn_ui::state::State& state, bool& handled, double scale) override;
};

}  // namespace maps

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
#include <vector>

#include "action_surface/action_surface.hpp"
#include "app/clock.hpp"
#include "app/mono_clock.hpp"
#include "app/screen_geometry.hpp"
#include "app/status.hpp"
#include "app/transient_overlay.hpp"
#include "app/worker_channel.hpp"
#include "automerge/automerge.hpp"
#include "directions/endpoint_editor.hpp"
#include "format/failure_text.hpp"
#include "location/location.hpp"
#include "map_layers/layer_cache.hpp"
#include "menu/dialog.hpp"
#include "menu/overflow_menu.hpp"
#include "model/records.hpp"
#include "navigation/navigation_panel.hpp"
#include "net/job_spawner.hpp"
#include "offline_panel/offline_panel.hpp"
#include "overlay/map_overlay.hpp"
#include "sample/vector_map.hpp"
#include "search_box/search_box.hpp"
#include "side_panel/side_panel.hpp"
#include "tiles/tile_store.hpp"
#include "transitions/latest_search.hpp"
#include "transitions/plan_request.hpp"
#include "transitions/ui_message.hpp"
#include "zarn_ui/action_host.hpp"
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

class MapsApp;

// Stands in for the action path when set: tests record what would be committed.
using CommitOverride = std::function<void(MapsApp&, zarn_ui::state::State&, MapsAction)>;

class MapsApp final : public zarn_ui::widget::Widget, public zarn_ui::widget::FloatingSurfaceHost {
 public:
  // Model.
  MapModel model;

  // Dispatches every committed MapsAction (commit_state).
  zarn_ui::action_host::ActionHost action_host{"maps::actions"};

  // Flags and counters shared by the transitions, the views and the tick.
  bool live = false;
  std::uint32_t pending_jobs = 0;
  bool location_pending = false;
  bool doc_initialised = false;
  // Where the document stood when the model last read it; the tick reads it again only once it
  // has moved (see tick_steps::sync_document).
  std::optional<automerge::AutoCommit::Mark> hydrated_at;
  std::vector<Poi> pois;
  std::optional<std::string> selected_poi;
  bool traffic_enabled = false;
  std::vector<TrafficSegment> traffic_segments;
  std::optional<std::string> traffic_source;
  VectorMap vector_map;
  bool panel_expanded = false;
  bool panel_collapsed = false;
  std::optional<MonoTime> view_idle_deadline;
  std::optional<GeoBox> poi_box;
  std::uint64_t poi_generation = 0;
  std::optional<base::Receiver<LocationOutcome>> location_receiver;
  TileStore tile_store;
  // What `model.status` is telling; written with it by set_status.
  StatusKind status_kind = StatusKind::Outcome;
  // A failure status: the service that failed, and when the status goes away by itself.
  std::optional<Service> status_service;
  std::optional<MonoTime> status_expires;
  // The status told that tiles in view failed; it is told once until none in view has failed.
  bool tile_failure_told = false;
  // The status was set during this tick; what the tick learnt this frame is not replaced in it.
  bool status_fresh = false;
  // The tile notice waits for the next tick (the status was fresh): one more frame is due.
  bool tile_notice_waiting = false;

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
  Point last_pointer;
  // The pointer in the navigation panel's own desktop window, in window coordinates.
  Point surface_pointer;
  bool pointer_down = false;
  bool map_press = false;
  Point drag_anchor;
  bool reduce_motion = false;
  // Emptied at the start of every draw and refilled by the painters in drawing order; presses
  // test them from the last to the first.
  std::vector<HitTarget> hit_targets;

  MonoNow mono_now = &MonoClock::now;
  // The clipboard the text fields cut, copy and paste through; tests put one in memory here.
  // A paste that finds something there it cannot read as text says so in the status.
  zarn_ui::clipboard::Clipboard* clipboard = &zarn_ui::launch::system_clipboard();

  // The worker-result channel the jobs answer on, drained by the tick.
  base::Receiver<WorkerResult> result_receiver;
  // Declared after the receiver: opening the channel fills it. Every job gets a clone.
  base::Sender<WorkerResult> result_sender = open_worker_channel(result_receiver);
  // Starts the request threads (only a live state asks it); tests put a RecordingJobSpawner here.
  std::unique_ptr<JobSpawner> job_spawner = std::make_unique<ThreadJobSpawner>(ServiceHosts{}, result_sender);
  // The last location fix; its address is applied only while it is still the origin.
  std::optional<LatLon> located_fix;
  // The latest route or journey request; the answers of earlier ones are dropped.
  PlanRequest plan_request;
  // A journey request waiting for the asking to pause (see transitions/plans.hpp).
  std::optional<JourneyWait> journey_wait;
  // The latest geocoding searches of the search box and of the endpoint fields.
  LatestSearch place_searches;
  LatestSearch endpoint_searches;
  // Wakes the window loop; handed to every channel the tick drains (empty: nothing wakes it).
  std::function<void()> waker;
  // Direct writes of persisted fields that hydration must not undo (see app/transient_overlay.hpp).
  TransientOverlay transient;
  // Stands in for the action path when set (see app/dispatch.hpp).
  CommitOverride commit_override;

  // The status line's text and what it tells.
  void set_status(std::string text, StatusKind kind = StatusKind::Outcome);
  void clear_status() { set_status({}); }
  // "{prefix}{short text}" for the service's failure, for 10 s or until the service answers
  // again; the error's full text goes to the log.
  void report_failure(std::string_view prefix, Service service, const base::Error& error);

  // Model operations.
  std::optional<Place> find_place(const std::string& id) const;
  std::optional<Place> selected_place() const;
  void upsert_place(const Place& place);
  bool toggle_place_saved(const std::string& id);
  LocalDateTime now_local() const;
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
  void handle_event(const zarn_ui::widget::Event& event, std::uint32_t modifiers, std::uint8_t extra,
                    zarn_ui::state::State& state, bool& handled, double scale) override;
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
  zarn_ui::ui_action::ActionOutcome perform_action(zarn_ui::state::State& state, std::uint8_t kind, std::string_view id,
                                                   std::string_view argument) override;
  zarn_ui::ui_action::BeginOutcome begin_action(zarn_ui::state::State& state,
                                                const zarn_ui::ui_action::RequestId& request, std::uint8_t kind,
                                                std::string_view id, std::string_view argument) override;
  std::optional<zarn_ui::ui_action::AsyncResult> poll_action(const zarn_ui::ui_action::RequestId& request) override;

  // Floating-surface host: the navigation panel on the desktop (navigation/surface_host.cpp).
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

Place new_place(const std::string& id, const std::string& name, Category category, const std::string& address,
                LatLon pos);
std::optional<Place> cloned_place(const Place* place);
std::optional<Poi> cloned_poi(const Poi* poi);
std::optional<DownloadedRegion> cloned_region(const DownloadedRegion* region);

}  // namespace maps

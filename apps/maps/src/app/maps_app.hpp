#pragma once
// MapsApp: the one application state. The framework owns it as its root widget; its member
// functions live in the files of their area (construction, tick, layout, drawing, input, ...).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/clock.hpp"
#include "app/panel_hits.hpp"
#include "app/screen_geometry.hpp"
#include "app/tick_overlay.hpp"
#include "app/tick_slots.hpp"
#include "app/ui_message.hpp"
#include "location/location.hpp"
#include "model/records.hpp"
#include "net/job_spawner.hpp"
#include "sample/vector_map.hpp"
#include "tiles/tile_store.hpp"
#include "zarn_ui/action_host.hpp"
#include "zarn_ui/floating_surface.hpp"
#include "zarn_ui/widget.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

using MonoClock = std::chrono::steady_clock;
using MonoTime = MonoClock::time_point;

// The state's monotonic clock; tests replace it to step time without sleeping.
using MonoNow = MonoTime (*)();

class MapsApp final : public zarn_ui::widget::Widget, public zarn_ui::widget::FloatingSurfaceHost {
 public:
  // Model.
  MapModel model;

  // Dispatches every committed MapsAction (commit_state).
  zarn_ui::action_host::ActionHost action_host{"maps::actions"};

  // Flags and counters shared by the transitions and the tick.
  bool live = false;
  std::uint32_t pending_jobs = 0;
  bool location_pending = false;
  bool doc_initialised = false;
  std::vector<Poi> pois;
  std::optional<std::string> selected_poi;
  bool traffic_enabled = false;
  std::vector<TrafficSegment> traffic_segments;
  std::optional<std::string> traffic_source;
  VectorMap vector_map;
  bool panel_expanded = false;
  bool panel_collapsed = false;
  double panel_scroll = 0.0;
  std::optional<MonoTime> view_idle_deadline;
  std::optional<GeoBox> poi_box;
  std::uint64_t poi_generation = 0;
  std::optional<base::Receiver<LocationOutcome>> location_receiver;
  TileStore tile_store;

  // Search box.
  zarn_ui::widgets::TextInput search_input;
  std::vector<Place> search_suggestions;
  bool search_open = false;
  std::optional<MonoTime> search_deadline;

  // Route endpoint editor: 0 origin field, 1 destination field, 2 none.
  zarn_ui::widgets::TextInput origin_input;
  zarn_ui::widgets::TextInput dest_input;
  std::vector<Place> origin_suggestions;
  std::vector<Place> dest_suggestions;
  std::uint8_t active_endpoint = 2;
  std::optional<MonoTime> endpoint_deadline;
  std::string origin_text;
  std::string dest_text;

  // Overflow menu and dialog.
  zarn_ui::widgets::ContextMenu overflow_menu;
  bool dialog_open = false;

  // Offline panel.
  zarn_ui::widgets::Autocomplete area_search;
  bool offline_open = false;
  std::string last_text;
  std::vector<AreaCandidate> area_candidates;
  std::optional<MonoTime> area_search_deadline;
  std::uint64_t offline_disk_usage = 0;

  // Navigation panel.
  zarn_ui::floating_surface::FloatingPlacement navigation_placement =
      zarn_ui::floating_surface::FloatingPlacement::docked({360, 156});
  Rect host_rect;
  std::optional<zarn_ui::floating_surface::FloatingSurfaceRequest> surface_request;
  Rect navigation_drag_rect;
  Rect navigation_end_rect;
  bool navigation_end_hover = false;

  // Layout, pointer and frame.
  Rect bounds_rect;
  Rect drawn_bounds;
  std::optional<zarn_ui::layout::NodeId> layout_node;
  Point last_pointer;
  bool pointer_down = false;
  bool map_press = false;
  Point drag_anchor;
  std::uint8_t hovered_control = kNoControl;
  // Emptied at the start of every draw and refilled by the painters in drawing order; presses
  // test them from the last to the first.
  std::vector<HitTarget> hit_targets;
  double panel_content_height = 0.0;
  double panel_view_height = 0.0;
  bool reduce_motion = false;
  bool locate_action_pending = false;
  zarn_ui::widgets::TooltipHost tooltips;

  MonoNow mono_now = &MonoClock::now;

  // ---- tick: worker results, job starts, the asynchronous locate slot, direct values ----
  base::Receiver<WorkerResult> result_receiver;
  // Declared after the receiver: opening the channel fills it. Every job gets a clone.
  base::Sender<WorkerResult> result_sender = open_worker_channel(result_receiver);
  // Starts the request threads (only a live state asks it); tests put a RecordingJobSpawner here.
  std::unique_ptr<JobSpawner> job_spawner = std::make_unique<ThreadJobSpawner>(ServiceHosts{}, result_sender);
  LocateRequestId locate_request_id{};
  std::optional<AsyncActionResult> action_result;
  // The last location fix; its address is applied only while it is still the origin.
  std::optional<LatLon> located_fix;
  // Direct writes of persisted fields that hydration must not undo (see app/tick_overlay.hpp).
  TransientOverlay overlay;
  // ---- end tick ----

  // ---- input and view ----
  // Press areas of the endpoint editor and the offline panel, recorded by their painters.
  std::vector<EndpointHit> endpoint_hits;
  std::vector<OfflineHit> offline_hits;
  // Stands in for the action path when set: tests record what would be committed.
  std::function<void(MapsApp&, zarn_ui::state::State&, MapsAction)> commit_override;
  // ---- end input and view ----

  // Model operations.
  std::optional<Place> find_place(const std::string& id) const;
  std::optional<Place> selected_place() const;
  void upsert_place(const Place& place);
  bool toggle_place_saved(const std::string& id);
  LocalDateTime now_local() const;
  // The host window's rectangle when the framework reported one, else the widget's bounds.
  Rect placement_host_rect() const;

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
  std::vector<std::string> action_names() const override;
  std::string_view type_name() const override { return "MapsApp"; }
  std::string_view widget_id() const override { return "maps_app"; }
  Rect bounds() const override { return bounds_rect; }
  void set_reduce_motion(bool on) override { reduce_motion = on; }
  bool has_pending_work() const override;
  bool needs_frame() const override;
  bool has_armed_timer() const override;
  bool has_pointer_capture() const override { return navigation_placement.drag.has_value(); }
  std::optional<Rect> modal_rect() const override;
};

Place new_place(const std::string& id, const std::string& name, Category category, const std::string& address,
                LatLon pos);
std::optional<Place> cloned_place(const Place* place);
std::optional<Poi> cloned_poi(const Poi* poi);
std::optional<DownloadedRegion> cloned_region(const DownloadedRegion* region);

// Poses the navigation panel for a review shot: "detached", "attached", "hover", "returning", "returned".
void stage_floating_navigation(MapsApp& app, const std::string& mode);

}  // namespace maps

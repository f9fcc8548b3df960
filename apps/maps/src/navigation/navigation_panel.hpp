#pragma once
// The navigation panel shown while a road route is set: where it lives (docked on the map,
// floating in the window or detached onto the desktop), the host window's rectangle, the
// floating-surface request for the desktop, and the grip and End areas with the End hover.

#include <optional>
#include <string>
#include <utility>

#include "draw_kit/layout_metrics.hpp"
#include "model/records.hpp"
#include "zarn_ui/floating_surface.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

// What the panel reads of the rest of the window; app/ builds it.
struct NavigationInputs {
  // The road route being followed; none: no panel.
  const std::optional<Route>& route;
  const zarn_ui::Rect& bounds;
  // The side panel's flags: the docked panel keeps beside the wide layout's open panel and hides
  // under the narrow layout's.
  const PanelFlags& side_panel;
  // The scale bar's backdrop as this frame drew it, which the docked panel keeps clear of.
  const std::optional<zarn_ui::Rect>& scale_bar;
  // The route is the offline estimate, no route to follow.
  bool estimate = false;
};

class NavigationPanel {
 public:
  using Inputs = NavigationInputs;
  using Placement = zarn_ui::floating_surface::FloatingPlacement;
  using SurfaceRequest = zarn_ui::floating_surface::FloatingSurfaceRequest;
  using SurfaceEntry = zarn_ui::floating_surface::FloatingSurfaceEntry;
  using SurfaceEvent = zarn_ui::floating_surface::SurfaceEvent;

  // The panel's surface as the desktop knows it.
  static constexpr const char* kSurfaceId = "maps.active-navigation";

  const Placement& placement() const { return placement_; }
  // The host window's rectangle when the framework reported one, else `bounds`.
  zarn_ui::Rect host_rect_or(const zarn_ui::Rect& bounds) const;
  void set_host_rect(const zarn_ui::Rect& rect) { host_rect_ = rect; }
  // Where the panel is drawn for widget bounds `bounds`.
  zarn_ui::Rect panel_rect(const zarn_ui::Rect& bounds) const;
  // The part of the window the docked panel centres itself in (the map beside the side panel);
  // empty: the whole bounds.
  void set_dock_area(const zarn_ui::Rect& area) { dock_area_ = area; }
  // The desktop surface for the panel, for a `given` rectangle; none without a route.
  std::optional<SurfaceRequest> surface_for(bool has_route, const zarn_ui::Rect& bounds,
                                            const zarn_ui::Rect& given) const;
  const std::optional<SurfaceRequest>& surface_request() const { return surface_request_; }
  // The request for the framework, once.
  std::optional<SurfaceRequest> take_surface_request() { return std::exchange(surface_request_, std::nullopt); }
  // The surface to keep listed: while the panel floats (in the window or on the desktop) or is
  // being handed back; none without a route.
  std::optional<SurfaceEntry> surface_entry(bool has_route, const zarn_ui::Rect& bounds) const;
  // A desktop event about the panel's surface; events for other surfaces, and every event
  // without a route, change nothing.
  void apply_surface_event(bool has_route, const zarn_ui::Rect& bounds, const SurfaceEvent& event);

  // Docked and drawn on the map: not being handed back, and not under the narrow layout's open
  // side panel.
  bool docked_visible(bool has_route, bool narrow, bool side_panel_expanded) const;
  // Drawn inside the window this frame: floating in it, or docked and visible.
  bool in_window(bool has_route, bool narrow, bool side_panel_expanded) const;
  // Shown as a desktop surface of its own, drawn for the framework's floating layer.
  bool on_desktop(bool has_route) const { return has_route && placement_.detached; }
  // The desktop panel is being dragged over the window far enough that letting go puts it back.
  bool returning_over(bool has_route, const zarn_ui::Rect& bounds) const;
  bool dragging() const { return placement_.drag.has_value(); }
  // The hand-off between window and desktop is still animating (never with reduced motion).
  bool animating(bool reduce_motion) const { return !reduce_motion && placement_.is_handoff_animating(); }

  // The grip and the End button as last painted.
  void set_control_rects(const zarn_ui::Rect& drag, const zarn_ui::Rect& end);
  const zarn_ui::Rect& drag_rect() const { return drag_rect_; }
  const zarn_ui::Rect& end_rect() const { return end_rect_; }
  bool on_grip(zarn_ui::Point p) const;
  bool on_end(zarn_ui::Point p) const;
  bool end_hovered() const { return end_hover_; }
  // The pointer over End, only while `live` (the panel is shown where the pointer is); true when
  // that changed.
  bool update_end_hover(bool live, zarn_ui::Point p);
  void clear_end_hover() { end_hover_ = false; }
  void set_end_hover(bool hover) { end_hover_ = hover; }
  // The pointer in the panel's own desktop window, in window coordinates.
  zarn_ui::Point surface_pointer() const { return surface_pointer_; }
  void set_surface_pointer(zarn_ui::Point p) { surface_pointer_ = p; }
  // The panel is not drawn: no hover and no areas.
  void forget_control_areas();

  // A press on the grip starts a drag at the panel's drawn size.
  void begin_drag(const zarn_ui::Rect& bounds, zarn_ui::Point p);
  // The drag follows the pointer; once the panel leaves the window far enough it asks for its
  // desktop surface.
  void update_drag(bool has_route, const zarn_ui::Rect& bounds, zarn_ui::Point p);
  // True when a drag ended.
  bool end_drag();
  // The panel goes to the desktop where it is drawn now, and asks for its surface.
  void detach(bool has_route, const zarn_ui::Rect& bounds);
  // Docked again, keeping its size; no hover, no areas.
  void reset();
  // Poses the panel for a review shot ("detached", "hover", "returning", "returned"): on the
  // desktop at a fixed place, End hovered for "hover", dragged back over the window for the last
  // two. "attached" leaves it docked.
  void stage(const std::string& mode, const zarn_ui::Rect& bounds);
  // Holds the hand-off animation for a review shot.
  void pin_handoff(std::uint32_t value) { placement_.pin_handoff_for_visual_review(value); }

 private:
  Placement placement_ = Placement::docked({360, 156});
  zarn_ui::Rect host_rect_;
  zarn_ui::Rect dock_area_;
  std::optional<SurfaceRequest> surface_request_;
  zarn_ui::Rect dock_bounds(const zarn_ui::Rect& bounds) const { return dock_area_.area() > 0 ? dock_area_ : bounds; }
  zarn_ui::Rect drag_rect_;
  zarn_ui::Rect end_rect_;
  bool end_hover_ = false;
  zarn_ui::Point surface_pointer_;
  // Where the person last let the panel float inside the window, if they did.
  std::optional<zarn_ui::Rect> window_spot_;
  void hand_back(const zarn_ui::Rect& bounds, bool returned);
};

}  // namespace maps

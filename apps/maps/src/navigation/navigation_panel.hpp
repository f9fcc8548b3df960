#pragma once
// The navigation panel shown while a road route is set: where it lives (docked on the map,
// floating in the window or detached onto the desktop), the host window's rectangle, the
// floating-surface request for the desktop, and the grip and End areas with the End hover.

#include <optional>
#include <string>

#include "zarn_ui/floating_surface.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

class NavigationPanel {
 public:
  using Placement = zarn_ui::floating_surface::FloatingPlacement;
  using SurfaceRequest = zarn_ui::floating_surface::FloatingSurfaceRequest;

  const Placement& placement() const { return placement_; }
  // The host window's rectangle when the framework reported one, else `bounds`.
  zarn_ui::Rect host_rect_or(const zarn_ui::Rect& bounds) const;
  void set_host_rect(const zarn_ui::Rect& rect) { host_rect_ = rect; }
  // Where the panel is drawn for widget bounds `bounds`.
  zarn_ui::Rect panel_rect(const zarn_ui::Rect& bounds) const;
  // The desktop surface for the panel, for a `given` rectangle; none without a route.
  std::optional<SurfaceRequest> surface_for(bool has_route, const zarn_ui::Rect& bounds,
                                            const zarn_ui::Rect& given) const;
  const std::optional<SurfaceRequest>& surface_request() const { return surface_request_; }

  // Docked and drawn on the map: not being handed back, and not under the narrow layout's open
  // side panel.
  bool docked_visible(bool has_route, bool narrow, bool side_panel_expanded) const;
  // Drawn inside the window this frame: floating in it, or docked and visible.
  bool in_window(bool has_route, bool narrow, bool side_panel_expanded) const;
  bool dragging() const { return placement_.drag.has_value(); }
  // The hand-off between window and desktop is still animating (never with reduced motion).
  bool animating(bool reduce_motion) const { return !reduce_motion && placement_.is_handoff_animating(); }

  // The grip and the End button as last painted.
  void set_control_rects(const zarn_ui::Rect& drag, const zarn_ui::Rect& end);
  bool on_grip(zarn_ui::Point p) const;
  bool on_end(zarn_ui::Point p) const;
  const zarn_ui::Rect& end_rect() const { return end_rect_; }
  bool end_hovered() const { return end_hover_; }
  // The pointer over End (only while a route is set); true when that changed.
  bool update_end_hover(bool has_route, zarn_ui::Point p);
  void clear_end_hover() { end_hover_ = false; }

  // A press on the grip starts a drag at the panel's drawn size.
  void begin_drag(const zarn_ui::Rect& bounds, zarn_ui::Point p);
  // The drag follows the pointer; once the panel leaves the window far enough it asks for its
  // desktop surface.
  void update_drag(bool has_route, const zarn_ui::Rect& bounds, zarn_ui::Point p);
  // True when a drag ended.
  bool end_drag(const zarn_ui::Rect& bounds);
  // The panel goes to the desktop where it is drawn now, and asks for its surface.
  void detach(bool has_route, const zarn_ui::Rect& bounds);
  // Docked again, keeping its size; no hover, no areas.
  void reset();
  // Poses the panel for a review shot: "detached", "attached", "hover", "returning", "returned".
  void stage(const std::string& mode, bool has_route, const zarn_ui::Rect& bounds);

 private:
  Placement placement_ = Placement::docked({360, 156});
  zarn_ui::Rect host_rect_;
  std::optional<SurfaceRequest> surface_request_;
  zarn_ui::Rect drag_rect_;
  zarn_ui::Rect end_rect_;
  bool end_hover_ = false;
};

}  // namespace maps

#include "navigation/navigation_panel.hpp"

#include <type_traits>
#include <variant>

#include "geo/screen_view.hpp"

namespace maps {
namespace {

constexpr double kHandOffMargin = 8.0;

}  // namespace

zarn_ui::Rect NavigationPanel::host_rect_or(const zarn_ui::Rect& bounds) const {
  return host_rect_.area() > 0 ? host_rect_ : bounds;
}

zarn_ui::Rect NavigationPanel::panel_rect(const zarn_ui::Rect& bounds) const {
  return placement_.rect(placement_.is_docked() ? dock_bounds(bounds) : bounds, host_rect_or(bounds));
}

std::optional<NavigationPanel::SurfaceRequest> NavigationPanel::surface_for(bool has_route, const zarn_ui::Rect& bounds,
                                                                            const zarn_ui::Rect& given) const {
  if (!has_route) return std::nullopt;
  const zarn_ui::Rect panel = panel_rect(bounds);
  SurfaceRequest request;
  request.id = kSurfaceId;
  request.title = "Active navigation";
  request.app_id = "so.zarn.maps";
  request.kind = "active-navigation";
  request.panel_rect = panel;
  request.outer_rect = panel.inflate(8.0, 8.0);
  request.given_rect = given;
  request.size = {360.0, 156.0};
  request.option = 2;
  return request;
}

bool NavigationPanel::docked_visible(bool has_route, bool narrow, bool side_panel_expanded) const {
  return has_route && !placement_.handing_back && placement_.is_docked() && (!narrow || !side_panel_expanded);
}

bool NavigationPanel::in_window(bool has_route, bool narrow, bool side_panel_expanded) const {
  if (!has_route) return false;
  return (!placement_.is_docked() && !placement_.detached) || docked_visible(has_route, narrow, side_panel_expanded);
}

std::optional<NavigationPanel::SurfaceEntry> NavigationPanel::surface_entry(bool has_route,
                                                                            const zarn_ui::Rect& bounds) const {
  if (!has_route || (placement_.is_docked() && !placement_.handing_back)) return std::nullopt;
  const zarn_ui::Rect panel = panel_rect(bounds);
  return SurfaceEntry{kSurfaceId, panel, panel.inflate(kHandOffMargin, kHandOffMargin), placement_.handing_back};
}

void NavigationPanel::apply_surface_event(bool has_route, const zarn_ui::Rect& bounds, const SurfaceEvent& event) {
  namespace fs = zarn_ui::floating_surface;
  if (!has_route) return;
  std::visit(
      [&](const auto& e) {
        using E = std::decay_t<decltype(e)>;
        if (e.id != kSurfaceId) return;
        if constexpr (std::is_same_v<E, SurfaceEvent::Placed>) {
          if (const auto at = fs::protocol_rect(e.rect)) placement_.place(*at, e.origin, e.detached);
        } else if constexpr (std::is_same_v<E, SurfaceEvent::DetachConfirmed>) {
          if (fs::protocol_rect(e.rect) && !placement_.is_docked()) {
            placement_.detach_confirmed = true;
            placement_.detached = true;
          }
        } else if constexpr (std::is_same_v<E, SurfaceEvent::AdoptionConfirmed>) {
          placement_.confirm_app_adoption(bounds);
        } else {
          hand_back(bounds, std::is_same_v<E, SurfaceEvent::Returned>);
        }
      },
      event.value);
}

void NavigationPanel::hand_back(const zarn_ui::Rect& bounds, bool returned) {
  // Let go over the window, the panel stays where the person dropped it. Otherwise (its window
  // closed, or refused) it goes where the person last had it in the window, or to its dock,
  // never to where its desktop window was, over whatever controls lie there.
  const bool dropped_here = returned && zarn_ui::floating_surface::returns_to_host(panel_rect(bounds), bounds);
  if (!dropped_here && window_spot_) placement_.floating_rect = *window_spot_;
  placement_.reattach_to_app(bounds, host_rect_or(bounds));
  if (!dropped_here && !window_spot_) placement_.state = zarn_ui::floating_surface::PlacementState::Docked;
}

bool NavigationPanel::returning_over(bool has_route, const zarn_ui::Rect& bounds) const {
  return on_desktop(has_route) && dragging() && zarn_ui::floating_surface::returns_to_host(panel_rect(bounds), bounds);
}

void NavigationPanel::forget_control_areas() {
  end_hover_ = false;
  drag_rect_ = {};
  end_rect_ = {};
}

void NavigationPanel::set_control_rects(const zarn_ui::Rect& drag, const zarn_ui::Rect& end) {
  drag_rect_ = drag;
  end_rect_ = end;
}

bool NavigationPanel::on_grip(zarn_ui::Point p) const { return rect_contains_point(drag_rect_, p.x, p.y); }

bool NavigationPanel::on_end(zarn_ui::Point p) const { return rect_contains_point(end_rect_, p.x, p.y); }

bool NavigationPanel::update_end_hover(bool live, zarn_ui::Point p) {
  const bool hover = live && on_end(p);
  if (hover == end_hover_) return false;
  end_hover_ = hover;
  return true;
}

void NavigationPanel::begin_drag(const zarn_ui::Rect& bounds, zarn_ui::Point p) {
  placement_.panel_size = panel_rect(bounds).size();
  // The drag starts from the panel where it is drawn.
  placement_.begin_drag(dock_bounds(bounds), host_rect_or(bounds), p);
}

void NavigationPanel::update_drag(bool has_route, const zarn_ui::Rect& bounds, zarn_ui::Point p) {
  const zarn_ui::Rect outer = panel_rect(bounds).inflate(kHandOffMargin, kHandOffMargin);
  if (placement_.update_drag(bounds, p)) {
    surface_request_ = surface_for(has_route, bounds, outer);
  }
}

bool NavigationPanel::end_drag() {
  const bool dragging = placement_.drag.has_value();
  placement_.end_drag();
  if (dragging && !placement_.is_docked() && !placement_.detached) window_spot_ = placement_.floating_rect;
  return dragging;
}

void NavigationPanel::detach(bool has_route, const zarn_ui::Rect& bounds) {
  placement_.detach_to_desktop(panel_rect(bounds));
  surface_request_ = surface_for(has_route, bounds, panel_rect(bounds));
}

void NavigationPanel::reset() {
  placement_.reset_keep_size();
  window_spot_.reset();
  surface_request_.reset();
  end_hover_ = false;
  drag_rect_ = {};
  end_rect_ = {};
}

void NavigationPanel::stage(const std::string& mode, const zarn_ui::Rect& bounds) {
  if (mode == "attached") return;
  placement_.detach_to_desktop({820, 120, 1180, 276});
  placement_.detached = true;
  if (!placement_.is_docked()) placement_.detach_confirmed = true;
  if (mode == "hover") end_hover_ = true;
  if (mode == "returning" || mode == "returned") {
    placement_.begin_drag(bounds, host_rect_or(bounds), {1000, 136});
    placement_.update_drag(bounds, {720, 360});
  }
}

}  // namespace maps

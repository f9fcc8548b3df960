#include <algorithm>
#include <cmath>
#include <limits>

#include "zarn_ui/floating_surface.hpp"

namespace zarn_ui::floating_surface {

namespace {

// The bottom corners keep a column this wide for the window's own buttons.
constexpr double kCornerColumn = 72.0;
constexpr double kDockMargin = 16.0;
constexpr double kCornerButtonHeight = 46.0;

}  // namespace

Rect FloatingPlacement::rect(const Rect& bounds, const Rect& /*host*/) const {
  if (state == PlacementState::Docked) {
    const double cx = 0.5 * (bounds.x0 + bounds.x1);
    const bool between_corners = bounds.width() >= panel_size.width + 2.0 * kCornerColumn;
    const double y1 = bounds.y1 - (between_corners ? kDockMargin : kDockMargin + kCornerButtonHeight);
    return {cx - panel_size.width / 2, y1 - panel_size.height, cx + panel_size.width / 2, y1};
  }
  return floating_rect;
}

void FloatingPlacement::begin_drag(const Rect& bounds, const Rect& host, Point pointer) {
  const Rect r = rect(bounds, host);
  drag = DragState{{pointer.x - r.x0, pointer.y - r.y0}, pointer};
  if (state == PlacementState::Docked) floating_rect = r;
}

bool FloatingPlacement::update_drag(const Rect& bounds, Point pointer) {
  if (!drag) return false;
  state = PlacementState::Floating;
  const double x0 = pointer.x - drag->grab_offset.x, y0 = pointer.y - drag->grab_offset.y;
  floating_rect = {x0, y0, x0 + panel_size.width, y0 + panel_size.height};
  // Going to the desktop once more than half of the panel is outside the window.
  const Rect inside = floating_rect.intersect(bounds);
  const double area = floating_rect.area();
  return !detached && area > 0 && inside.area() < 0.5 * area;
}

void FloatingPlacement::end_drag() { drag.reset(); }

void FloatingPlacement::detach_to_desktop(const Rect& at, Clock::time_point now) {
  state = PlacementState::Floating;
  floating_rect = at;
  desktop_origin = {at.x0, at.y0};
  handoff_until_ = now + kHandoffDuration;
}

void FloatingPlacement::reattach_to_app(const Rect& bounds, const Rect& host, Clock::time_point now) {
  detached = false;
  detach_confirmed = false;
  drag.reset();
  // Back inside the window where it was, moved in as far as needed to be whole; a panel that was
  // nowhere over the window comes back at the bottom centre.
  Rect r = floating_rect;
  if (!r.is_finite() || r.intersect(bounds).area() <= 0) {
    const double cx = 0.5 * (bounds.x0 + bounds.x1), w = panel_size.width, h = panel_size.height;
    r = state == PlacementState::Docked
            ? rect(bounds, host)
            : Rect{cx - w / 2, bounds.y1 - kDockMargin - h, cx + w / 2, bounds.y1 - kDockMargin};
  }
  const double dx = std::max(std::min(0.0, bounds.x1 - r.x1), bounds.x0 - r.x0);
  const double dy = std::max(std::min(0.0, bounds.y1 - r.y1), bounds.y0 - r.y0);
  floating_rect = r.translate({dx, dy});
  state = PlacementState::Floating;
  handoff_until_ = now + kHandoffDuration;
}

void FloatingPlacement::confirm_app_adoption(const Rect& /*bounds*/) {
  detached = false;
  detach_confirmed = false;
  handing_back = false;
  handoff_until_.reset();
}

void FloatingPlacement::place(const Rect& at, Point origin, bool on_desktop) {
  if (state != PlacementState::Docked && !drag) {
    floating_rect = at;
  } else {
    const Rect from = state == PlacementState::Docked ? Rect::from_origin_size({0, 0}, panel_size) : floating_rect;
    floating_rect = from.translate({at.x0 - from.x0, at.y0 - from.y0});
  }
  state = PlacementState::Floating;
  desktop_origin = origin;
  detached = on_desktop;
}

double FloatingPlacement::handoff_progress(Clock::time_point now) const {
  if (handoff_pin_) return std::min(static_cast<double>(*handoff_pin_), 1000.0) / 1000.0;
  if (!handoff_until_ || now >= *handoff_until_) return 1.0;
  const auto left = std::chrono::duration<double>(*handoff_until_ - now).count();
  const double total = std::chrono::duration<double>(kHandoffDuration).count();
  return std::clamp(1.0 - left / total, 0.0, 1.0);
}

Affine FloatingPlacement::presentation_transform(const Affine& transform, const Rect& panel, bool reduce_motion,
                                                 Clock::time_point now) const {
  if (reduce_motion || !panel.is_finite()) return transform;
  const double p = handoff_progress(now);
  if (p >= 1.0) return transform;
  // Ease out: quick at first, settling gently.
  const double rest = 1.0 - p;
  const double eased = 1.0 - rest * rest * rest;
  constexpr double kStartScale = 0.94;
  constexpr double kStartDrop = 8.0;
  const double s = kStartScale + (1.0 - kStartScale) * eased;
  const Point c = panel.center();
  const Affine about_centre =
      Affine::translate(c.x, c.y + kStartDrop * (1.0 - eased)) * Affine::scale(s) * Affine::translate(-c.x, -c.y);
  return transform * about_centre;
}

bool returns_to_host(const Rect& panel, const Rect& bounds) {
  const double area = panel.area();
  return area > 0 && panel.intersect(bounds).area() > 0.5 * area;
}

std::optional<Rect> protocol_rect(const ProtocolRect& r) {
  if (r.width <= 0 || r.height <= 0) return std::nullopt;
  const std::int64_t x1 = static_cast<std::int64_t>(r.x) + r.width;
  const std::int64_t y1 = static_cast<std::int64_t>(r.y) + r.height;
  if (x1 > std::numeric_limits<std::int32_t>::max() || y1 > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return Rect{static_cast<double>(r.x), static_cast<double>(r.y), static_cast<double>(x1), static_cast<double>(y1)};
}

}  // namespace zarn_ui::floating_surface

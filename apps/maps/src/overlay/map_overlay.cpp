#include "overlay/map_overlay.hpp"

#include "app/maps_app.hpp"
#include "app/screen_geometry.hpp"
#include "offline_panel/offline_panel_paint.hpp"

namespace maps {
namespace {

// The control under the pointer, else the menu button or the "More" button under it.
std::optional<zarn_ui::widgets::TooltipTarget> tooltip_target(MapControl hovered, const zarn_ui::Rect& drawn_bounds,
                                                              const zarn_ui::Rect& b, zarn_ui::Point p) {
  static constexpr const char* kControlTips[] = {"Zoom in", "Zoom out", "My location", "Traffic"};
  if (hovered != MapControl::None) {
    return zarn_ui::widgets::TooltipTarget{control_button_rect(drawn_bounds, hovered),
                                           kControlTips[static_cast<std::size_t>(hovered)]};
  }
  if (auto menu = menu_button_rect(b); menu && rect_contains_point(*menu, p.x, p.y)) {
    return zarn_ui::widgets::TooltipTarget{*menu, "Menu"};
  }
  const zarn_ui::Rect more{b.x1 - 56.0, b.y1 - 46.0, b.x1 - 16.0, b.y1 - 16.0};
  if (rect_contains_point(more, p.x, p.y)) return zarn_ui::widgets::TooltipTarget{more, "More"};
  return std::nullopt;
}

}  // namespace

bool MapOverlay::pointer_moved(const zarn_ui::Rect& drawn_bounds, const zarn_ui::Rect& bounds, zarn_ui::Point p,
                               bool button_down, MonoTime now) {
  const MapControl before = hovered_;
  std::optional<zarn_ui::widgets::TooltipTarget> target;
  if (button_down) {
    hovered_ = MapControl::None;
  } else {
    hovered_ = hit_test_controls(drawn_bounds, p.x, p.y);
    target = tooltip_target(hovered_, drawn_bounds, bounds, p);
  }
  const bool tooltip_changed = tooltips_.on_pointer(std::move(target), now);
  return tooltip_changed || hovered_ != before;
}

// Tells the tooltip host the time every frame, so a tooltip on its way comes up (and stops asking
// for frames) instead of keeping the window busy for as long as the pointer rests.
void paint_map_overlay(MapsApp& app, zarn_ui::Scene& scene, const zarn_ui::Affine& transform,
                       const zarn_ui::widget::PaintCtx& ctx) {
  paint_offline_panel(app, scene, transform, ctx);
  app.overlay.tick_tooltips(app.mono_now());
}

}  // namespace maps

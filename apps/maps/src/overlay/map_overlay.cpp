#include "overlay/map_overlay.hpp"

#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"

namespace maps {
namespace {

// The control under the pointer, else the menu button, the "More" button or a shortened status
// pill under it.
std::optional<zarn_ui::widgets::TooltipTarget> tooltip_target(
    MapControl hovered, const zarn_ui::Rect& drawn_bounds, const zarn_ui::Rect& b, zarn_ui::Point p,
    bool controls_shown, const std::optional<zarn_ui::widgets::TooltipTarget>& shortened_status) {
  static constexpr const char* kControlTips[] = {"Zoom in", "Zoom out", "My location", "Traffic"};
  if (hovered != MapControl::None) {
    return zarn_ui::widgets::TooltipTarget{control_button_rect(drawn_bounds, hovered),
                                           kControlTips[static_cast<std::size_t>(hovered)]};
  }
  if (auto menu = menu_button_rect(b); menu && rect_contains_point(*menu, p.x, p.y)) {
    return zarn_ui::widgets::TooltipTarget{*menu, "Menu"};
  }
  const zarn_ui::Rect more = more_button_rect(b);
  // The controls are hidden only under the narrow layout's open panel, which may hide "More" too.
  if (more_button_shown(b, !controls_shown) && rect_contains_point(more, p.x, p.y)) {
    return zarn_ui::widgets::TooltipTarget{more, "More"};
  }
  if (shortened_status && rect_contains_point(shortened_status->rect, p.x, p.y)) return shortened_status;
  return std::nullopt;
}

}  // namespace

bool MapOverlay::pointer_moved(const zarn_ui::Rect& drawn_bounds, const zarn_ui::Rect& bounds, zarn_ui::Point p,
                               bool button_down, bool controls_shown, base::MonoTime now) {
  const MapControl before = hovered_;
  std::optional<zarn_ui::widgets::TooltipTarget> target;
  if (button_down) {
    hovered_ = MapControl::None;
  } else {
    hovered_ = controls_shown ? hit_test_controls(drawn_bounds, p.x, p.y) : MapControl::None;
    target = tooltip_target(hovered_, drawn_bounds, bounds, p, controls_shown, shortened_status_);
  }
  const bool tooltip_changed = tooltips_.on_pointer(std::move(target), now);
  return tooltip_changed || hovered_ != before;
}

void MapOverlay::paint_tooltip(zarn_ui::Scene& scene, const zarn_ui::Affine& t,
                               const zarn_ui::text_render::TextRenderer& text, const zarn_ui::theme::Theme& theme,
                               const zarn_ui::Rect& drawn_bounds, base::MonoTime now) {
  // Told the time every frame, so a tooltip on its way comes up (and stops asking for frames).
  tooltips_.tick(now);
  if (!tooltips_.target() || !tooltips_.shown()) return;
  zarn_ui::widgets::draw_hover_tooltip(scene, t, text, theme, tooltips_.target()->rect, tooltips_.target()->text,
                                       drawn_bounds);
}

}  // namespace maps

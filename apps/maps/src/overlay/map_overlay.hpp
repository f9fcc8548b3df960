#pragma once
// The overlay above the map and the side panel: the map controls, the traffic legend, the menu
// button, the status pill, the point-of-interest card, the "More" button and the hover tooltip
// (their painters: overlay/overlay_painters.hpp; the window's order of them among the other
// views: app/window_order.cpp). The overlay owns the hover state of its controls and the tooltip
// host.

#include <optional>

#include "base/mono_clock.hpp"
#include "overlay/map_controls.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/scene.hpp"
#include "zarn_ui/text_render.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"
#include "zarn_ui/widgets.hpp"

namespace maps {

class MapOverlay {
 public:
  MapControl hovered_control() const { return hovered_; }
  const zarn_ui::widgets::TooltipHost& tooltips() const { return tooltips_; }
  // A tooltip is on its way.
  bool tooltip_in_progress() const { return tooltips_.in_progress(); }

  // The pointer moved to `p` (over the controls of `drawn_bounds`, the bounds last drawn, when
  // `controls_shown`); with a button held nothing is hovered. True when the hovered control or
  // the tooltip changed.
  bool pointer_moved(const zarn_ui::Rect& drawn_bounds, const zarn_ui::Rect& bounds, zarn_ui::Point p, bool button_down,
                     bool controls_shown, base::MonoTime now);
  // A press, a key or the wheel takes the tooltip down.
  void dismiss_tooltip() { tooltips_.dismiss(); }
  // Brings a tooltip up once the pointer has rested long enough.
  void tick_tooltips(base::MonoTime now) { tooltips_.tick(now); }
  // Brings a tooltip up when it is due, then paints it once it is up, kept inside `drawn_bounds`.
  void paint_tooltip(zarn_ui::Scene& scene, const zarn_ui::Affine& t, const zarn_ui::text_render::TextRenderer& text,
                     const zarn_ui::theme::Theme& theme, const zarn_ui::Rect& drawn_bounds, base::MonoTime now);
  // Points the tooltip host at `target` (none takes it down); true when that changed.
  bool point_tooltip(std::optional<zarn_ui::widgets::TooltipTarget> target, base::MonoTime now) {
    return tooltips_.on_pointer(std::move(target), now);
  }
  // The status pill as last drawn with its whole text, when the text was shortened to fit.
  // A tooltip of a pill that changed or went is taken down with it.
  void set_shortened_status(std::optional<zarn_ui::widgets::TooltipTarget> pill) {
    if (pill != shortened_status_ && shortened_status_ && tooltips_.target() == shortened_status_) tooltips_.dismiss();
    shortened_status_ = std::move(pill);
  }

 private:
  MapControl hovered_ = MapControl::None;
  zarn_ui::widgets::TooltipHost tooltips_;
  std::optional<zarn_ui::widgets::TooltipTarget> shortened_status_;
};

}  // namespace maps

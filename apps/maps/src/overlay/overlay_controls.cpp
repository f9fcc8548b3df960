// The buttons of the overlay: the column of map controls, the narrow layout's menu button and
// the "More" button.

#include <cmath>

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/palette.hpp"
#include "draw_kit/primitives.hpp"
#include "overlay/map_controls.hpp"
#include "overlay/map_overlay.hpp"
#include "overlay/overlay_painters.hpp"
#include "zarn_ui/button.hpp"

namespace maps {
namespace {

constexpr double kControlRadius = 10.0;

bool hovered(const MapOverlay& overlay, MapControl control) { return overlay.hovered_control() == control; }

// A crosshair: a ring, a dot and four ticks pointing away from it.
void paint_locate_glyph(Scene& scene, const Affine& t, const Color& color, Point c) {
  stroke_circle(scene, t, color, c.x, c.y, 6.0, 2.0);
  fill_circle(scene, t, color, c.x, c.y, 2.0);
  constexpr double kFrom = 6.3, kTo = 9.0;
  stroke_line(scene, t, color, c.x, c.y - kFrom, c.x, c.y - kTo, 2.0);
  stroke_line(scene, t, color, c.x, c.y + kFrom, c.x, c.y + kTo, 2.0);
  stroke_line(scene, t, color, c.x - kFrom, c.y, c.x - kTo, c.y, 2.0);
  stroke_line(scene, t, color, c.x + kFrom, c.y, c.x + kTo, c.y, 2.0);
}

}  // namespace

void paint_map_controls(const MapOverlay& overlay, const OverlayInputs& in, Scene& scene, const Affine& t,
                        const OverlayText& text, const OverlayTheme& theme) {
  if (!map_controls_shown(in.drawn_bounds, in.side_panel.expanded)) return;
  const auto rects = control_button_rects(in.drawn_bounds);
  zarn_ui::widgets::Button{.rect = rects[0],
                           .label = "Zoom in",
                           .glyph = "+",
                           .glyph_size = 22.0f,
                           .corner_radius = kControlRadius,
                           .hovered = hovered(overlay, MapControl::ZoomIn)}
      .paint(scene, t, text, theme);
  zarn_ui::widgets::Button{.rect = rects[1],
                           .label = "Zoom out",
                           .glyph = "–",
                           .glyph_size = 22.0f,
                           .corner_radius = kControlRadius,
                           .hovered = hovered(overlay, MapControl::ZoomOut)}
      .paint(scene, t, text, theme);

  const Rect& locate = rects[2];
  paint_card(scene, t, locate, hovered(overlay, MapControl::Locate) ? theme.hover : theme.surface, theme.border,
             kControlRadius);
  paint_locate_glyph(scene, t, theme.accent, rect_center(locate));

  const Rect& traffic = rects[3];
  const Color fill = hovered(overlay, MapControl::Traffic) ? theme.hover : theme.surface;
  paint_card(scene, t, traffic, fill, in.traffic.enabled ? theme.accent : theme.border, kControlRadius);
  const Point c = rect_center(traffic);
  const Color lights[] = {theme.danger, theme.warning, theme.success};
  for (int i = 0; i < 3; ++i) {
    // Dimmed toward the button while the overlay is off.
    const Color color = in.traffic.enabled ? lights[i] : mix_color(lights[i], fill, 0.55f);
    fill_circle(scene, t, color, c.x, c.y - 8.0 + 8.0 * i, 3.2);
  }
}

std::optional<HitTarget> paint_menu_button(const OverlayInputs& in, Scene& scene, const Affine& t,
                                           const OverlayTheme& theme) {
  const auto r = menu_button_rect(in.bounds);
  if (!r) return std::nullopt;
  paint_card(scene, t, *r, theme.surface, in.side_panel.expanded ? theme.focus : theme.border, 12.0);
  const Point c = rect_center(*r);
  const Color line = in.side_panel.expanded ? theme.accent : theme.text;
  for (const double dy : {-5.0, 0.0, 5.0}) stroke_line(scene, t, line, c.x - 8.0, c.y + dy, c.x + 8.0, c.y + dy, 2.0);
  return HitTarget{*r, UiMessage{msg::ToggleNavigation{}}};
}

std::optional<HitTarget> paint_more_button(const OverlayInputs& in, Scene& scene, const Affine& t,
                                           const OverlayTheme& theme) {
  if (!more_button_shown(in.bounds, in.side_panel.expanded)) return std::nullopt;
  const Rect r = more_button_rect(in.bounds);
  const bool open = in.menu_open;
  const bool busy = in.downloading;
  paint_card(scene, t, r, theme.surface, open || busy ? theme.accent : theme.border, 10.0);
  const Point c = rect_center(r);
  for (const double dx : {-6.0, 0.0, 6.0}) fill_circle(scene, t, open ? theme.accent : theme.text, c.x + dx, c.y, 1.9);
  return HitTarget{r, UiMessage{msg::ToggleOverflowMenu{}}};
}

}  // namespace maps

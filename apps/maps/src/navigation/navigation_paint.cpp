#include "navigation/navigation_paint.hpp"

#include <string>

#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "format/labels.hpp"
#include "format/units.hpp"
#include "navigation/navigation_steps.hpp"
#include "zarn_ui/surface.hpp"

namespace maps {
namespace {

constexpr double kGripRight = 62.0;
constexpr double kGripHeight = 34.0;

struct NextStep {
  std::string glyph;
  std::string instruction;
  double distance_m = 0.0;
};

NextStep next_step(const Route& route) {
  if (route.steps.empty()) return {"↑", "Continue on the route", route.distance_m};
  const RouteStep& s = route.steps.front();
  return {std::string(maneuver_glyph(s.maneuver)), s.instruction, s.distance_m};
}

void paint_end_button(Scene& scene, const Affine& t, const TextRenderer& text, const zarn_ui::theme::Theme& theme,
                      const Rect& r, bool hovered) {
  const Color content = hovered ? theme.danger : theme.text_secondary;
  if (hovered) {
    fill_rounded_rect(scene, t, r, theme.danger.multiply_alpha(0.16f), 10.0);
    stroke_rounded_rect(scene, t, r, theme.danger.multiply_alpha(0.58f), 10.0, 1.0);
  } else {
    fill_rounded_rect(scene, t, r, theme.control.multiply_alpha(0.62f), 10.0);
    stroke_rounded_rect(scene, t, r, theme.border, 10.0, 1.0);
  }
  const double cy = 0.5 * (r.y0 + r.y1);
  const double x1 = r.x1 + 8.0;  // the panel's right edge
  fill_rounded_rect(scene, t, {x1 - 49.0, cy - 2.5, x1 - 44.0, cy + 2.5}, content, 1.5);
  draw_label_weighted(scene, text, t, "End", content, x1 - 39.0, r.y0 + 6.0, 11.0f, FontWeight::Medium);
}

}  // namespace

void paint_navigation_panel(NavigationPanel& panel, const NavigationInputs& in, Scene& scene, const Affine& transform,
                            const TextRenderer& text, const zarn_ui::theme::Theme& theme) {
  if (!in.route) {
    panel.forget_control_areas();
    return;
  }
  const Route& route = *in.route;
  const Rect p = panel.panel_rect(in.bounds);
  const Affine t = panel.placement().presentation_transform(transform, p, theme.reduce_motion);
  const double x0 = p.x0, y0 = p.y0, x1 = p.x1;

  scene.fill(zarn_ui::surface::soft_outline({x0 - 5.0, y0 - 3.0, x1 + 5.0, p.y1 + 7.0}),
             theme.shadow.multiply_alpha(0.3f), t);
  const zarn_ui::Shape body = zarn_ui::surface::soft_outline(p);
  scene.fill(body, theme.surface, t);
  scene.stroke(body, theme.border, 1.0, t);

  const Rect end{x1 - 58.0, y0 + 6.0, x1 - 8.0, y0 + 30.0};
  panel.set_control_rects({x0, y0, x1 - kGripRight, y0 + kGripHeight}, end);

  // The offline estimate is no route to follow; the panel says so.
  const char* title = in.estimate ? "Navigation \u00b7 estimate" : "Navigation";
  draw_label_weighted(scene, text, t, title, theme.text_secondary, x0 + 16.0, y0 + 10.0, 12.0f, FontWeight::Medium);
  zarn_ui::surface::floating_drag_grip(scene, t, p, theme.text_secondary);
  paint_end_button(scene, t, text, theme, end, panel.end_hovered());

  const NextStep step = next_step(route);
  fill_circle(scene, t, theme.accent.multiply_alpha(0.18f), x0 + 34.0, y0 + 66.0, 18.0);
  draw_text_centered(scene, text, t, step.glyph,
                     readable_on(theme.accent, composite(theme.accent.multiply_alpha(0.18f), theme.surface)), x0 + 16.0,
                     x0 + 52.0, y0 + 56.0, 17.0f);
  draw_text_ellipsized(scene, text, t, step.instruction, theme.text, x0 + 64.0, y0 + 47.0, 15.0f, (x1 - x0) - 82.0);
  draw_label(scene, text, t, format_distance(step.distance_m), theme.text_secondary, x0 + 64.0, y0 + 70.0, 12.0f);

  stroke_line(scene, t, theme.border, x0 + 16.0, y0 + 98.0, x1 - 16.0, y0 + 98.0, 1.0);
  draw_label_weighted(scene, text, t, format_duration(route.duration_s), theme.accent, x0 + 16.0, y0 + 114.0, 16.0f,
                      FontWeight::Bold);
  draw_text_right(scene, text, t, format_distance(route.distance_m) + " remaining", theme.text_secondary, x1 - 16.0,
                  y0 + 116.0, 12.0f);
}

void paint_navigation_return_hint(const NavigationPanel& panel, const NavigationInputs& in, Scene& scene,
                                  const Affine& transform, const zarn_ui::theme::Theme& theme) {
  if (!panel.returning_over(in.route.has_value(), in.bounds)) return;
  constexpr double kGap = 4.0;
  const Rect ring = panel.panel_rect(in.bounds).inflate(kGap, kGap);
  const auto shape = zarn_ui::RoundedRect::make(ring, zarn_ui::surface::kPanelRadius + kGap);
  scene.fill(shape, theme.accent.multiply_alpha(0.14f), transform);
  scene.stroke(shape, theme.accent, 2.0, transform);
}

void paint_navigation_in_window(NavigationPanel& panel, const NavigationInputs& in, Scene& scene, const Affine& t,
                                const TextRenderer& text, const zarn_ui::theme::Theme& theme) {
  if (navigation_in_window(panel, in)) {
    paint_navigation_panel(panel, in, scene, t, text, theme);
  } else if (navigation_on_desktop(panel, in)) {
    paint_navigation_return_hint(panel, in, scene, t, theme);
  } else {
    panel.forget_control_areas();
  }
}

}  // namespace maps

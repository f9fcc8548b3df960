// The road route in the directions panel: duration, distance, the leave and arrive times, and
// the turn-by-turn steps.

#include <cmath>

#include "directions/directions_plan.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "fmt/format.h"
#include "format/clock_text.hpp"
#include "format/labels.hpp"
#include "format/rounding.hpp"
#include "format/units.hpp"
#include "model/place_ops.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

// Routes longer than this (about 30 years) are no trip a clock can show.
constexpr double kMaxShownDurationS = 1e9;

std::string clock_of(const LocalDateTime& t) { return clock_text(t.unix_ms, t.utc_offset_s); }

void paint_times(Scene& scene, const Affine& transform, const TextRenderer& text, const Theme& theme,
                 const RouteTimes& times, bool leaving_now, double left, double y) {
  if (leaving_now) {
    draw_label_weighted(scene, text, transform, times.arrive, theme.text_secondary, left, y, 13.0f, FontWeight::Medium);
    return;
  }
  const double lw = text.measure_weighted(times.leave, 13.0f, FontWeight::Medium);
  draw_label_weighted(scene, text, transform, times.leave, theme.text, left, y, 13.0f, FontWeight::Medium);
  draw_label(scene, text, transform, "\u2192", theme.text_secondary, left + lw + 10.0, y, 13.0f);
  draw_label_weighted(scene, text, transform, times.arrive, theme.text, left + lw + 30.0, y, 13.0f, FontWeight::Medium);
}

double paint_steps(Scene& scene, const Affine& transform, const TextRenderer& text, const Theme& theme,
                   const ListArea& list, const std::vector<RouteStep>& steps, double s) {
  const double left = list.left, right = list.right;
  const Color step_ink = readable_on(theme.accent, composite(theme.accent.multiply_alpha(0.16f), theme.surface));
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const RouteStep& step = steps[i];
    fill_circle(scene, transform, theme.accent.multiply_alpha(0.16f), left + 16.0, s + 19.0, 13.0);
    draw_text_centered(scene, text, transform, maneuver_glyph(step.maneuver), step_ink, left + 3.0, left + 29.0,
                       s + 10.0, 15.0f);
    draw_text_ellipsized(scene, text, transform, step.instruction, theme.text, left + 38.0, s, 13.0f,
                         list.width() - 80.0);
    if (step.distance_m >= 1.0) {
      draw_text_right(scene, text, transform, format_distance(step.distance_m), theme.text_secondary, right - 4.0,
                      s + 18.0, 11.0f);
    }
    if (i + 1 < steps.size()) {
      stroke_line(scene, transform, theme.accent.multiply_alpha(0.4f), left + 16.0, s + 32.0, left + 16.0, s + 55.0,
                  1.5);
    }
    s += 46.0;
  }
  return s;
}

// What stands in the place of a road route that is not there.
const char* no_route_text(const DirectionsInputs& in) {
  const MapModel& m = in.model;
  const PlanRequest& asked = in.plan;
  if (asked.outcome == PlanOutcome::NoPlan && !asked.withdrawn && asked.mode == m.mode) return "No route found";
  // A destination without a start (the start field waits for one) asks for the start.
  const bool has_dest = m.dest || selected_place(m);
  if (has_dest && !m.origin) return "Choose a starting point to see the route.";
  return "Select a place, then tap Directions.";
}

}  // namespace

std::optional<RouteTimes> route_times(const LocalDateTime& now, const TransitTime& time, double duration_s) {
  const double seconds = std::max(duration_s, 0.0);
  if (!std::isfinite(seconds) || seconds > kMaxShownDurationS) return std::nullopt;
  // The other end lies the shown duration (whole minutes, rounded as format_duration rounds
  // them) from the minute the clock shows, so "3 min" never reads as 18:13 to 18:15.
  const std::int64_t d_ms = round_half_away_i64(seconds / 60.0) * 60'000;
  const LocalDateTime base = now.plus_minutes(time.offset_min);
  const std::int64_t shown_minute_ms = base.unix_ms - (((base.unix_ms % 60'000) + 60'000) % 60'000);
  if (time.mode == TransitTimeMode::Depart) {
    return RouteTimes{"Leave " + clock_of(base), "Arrive " + clock_of(local_from_unix_ms(shown_minute_ms + d_ms))};
  }
  return RouteTimes{"Leave " + clock_of(local_from_unix_ms(shown_minute_ms - d_ms)), "Arrive " + clock_of(base)};
}

double paint_road_route(const DirectionsInputs& in, std::vector<HitTarget>& targets, Scene& scene,
                        const Affine& transform, const TextRenderer& text, const Theme& theme, const ListArea& list,
                        double r) {
  const double left = list.left, right = list.right;
  if (!in.model.route) {
    draw_label(scene, text, transform, no_route_text(in), theme.text_secondary, left, r, 13.0f);
    return r + 24.0;
  }
  const Route route = *in.model.route;
  const std::string duration = format_duration(route.duration_s);
  draw_label_weighted(scene, text, transform, duration, theme.accent, left, r, 26.0f, FontWeight::Bold);
  const double dw = text.measure_weighted(duration, 26.0f, FontWeight::Bold);
  draw_label(scene, text, transform, fmt::format("\u00b7 {}", format_distance(route.distance_m)), theme.text_secondary,
             left + dw + 12.0, r + 8.0, 14.0f);
  draw_text_right(scene, text, transform, "Clear", readable_on(theme.danger, theme.surface), right - 4.0, r + 8.0,
                  12.0f);
  add_list_target(targets, list, {right - 64.0, r + 2.0, right, r + 28.0}, UiMessage{msg::ClearRoute{}});

  const TransitTime& time = in.model.transit_time;
  if (in.route_is_estimate) {
    // The estimate's times would be no better than its line: the line says what it is instead.
    const char* note = in.plan.outcome == PlanOutcome::Waiting ? "Estimate \u00b7 finding the route\u2026"
                                                               : "Estimate \u00b7 service unavailable";
    draw_text_ellipsized(scene, text, transform, note, theme.text_secondary, left, r + 40.0, 13.0f, list.width());
  } else if (auto times = route_times(in.now, time, route.duration_s)) {
    const bool leaving_now = time.mode == TransitTimeMode::Depart && time.offset_min == 0;
    paint_times(scene, transform, text, theme, *times, leaving_now, left, r + 40.0);
  }
  stroke_line(scene, transform, theme.border, left, r + 68.0, right, r + 68.0, 1.0);
  return paint_steps(scene, transform, text, theme, list, route.steps, r + 82.0);
}

}  // namespace maps

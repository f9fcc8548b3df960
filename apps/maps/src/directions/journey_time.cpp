#include "directions/journey_time.hpp"

#include <algorithm>

#include "draw_kit/theme_colors.hpp"
#include "format/clock_text.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

constexpr double kButtonWidth = 38.0;
constexpr double kRowHeight = 36.0;
constexpr double kRowGap = 8.0;
constexpr double kLabelMargin = 4.0;
constexpr float kLabelSize = 15.0f;
constexpr float kResetSize = 12.0f;

bool leaving_now(const TransitTime& t) { return t.mode == TransitTimeMode::Depart && t.offset_min == 0; }

}  // namespace

JourneyTimeLayout journey_time_layout(const ListArea& list, double t, double label_width, bool has_reset,
                                      double reset_text_width) {
  const double left = list.left, right = list.right, w = list.width();
  JourneyTimeLayout out;
  out.segments = {left, t, left + std::min((w - 8.0) / 2.0, 150.0), t + kRowHeight};
  double row = t;  // top of the row the earlier and later buttons share
  double from = out.segments.x1 + 8.0;
  double button_w = kButtonWidth;
  if (from + kButtonWidth + label_width + 2.0 * kLabelMargin > right - kButtonWidth) {
    row = t + kRowHeight + kRowGap;
    from = left;
    // Two buttons and a gap always fit, however narrow the panel.
    button_w = std::clamp((w - kLabelMargin) / 2.0, 0.0, kButtonWidth);
  }
  out.earlier = {from, row, from + button_w, row + kRowHeight};
  out.later = {right - button_w, row, right, row + kRowHeight};
  if (out.earlier.x1 + label_width + 2.0 * kLabelMargin <= out.later.x0) {
    out.label_span = std::pair{out.earlier.x1, out.later.x0};
  }
  out.label_y = row + 8.625;
  const double below = row + kRowHeight;
  if (has_reset) {
    out.reset = Rect{left, below + 8.0, left + reset_text_width + 20.0, below + 34.0};
    out.bottom = below + 34.0;
  } else {
    out.bottom = below;
  }
  return out;
}

std::string journey_time_label(const TransitTime& time, const LocalDateTime& now) {
  if (leaving_now(time)) return "Now";
  const LocalDateTime at = now.plus_minutes(time.offset_min);
  return clock_text(at.unix_ms, at.utc_offset_s);
}

double paint_journey_time(const TransitTime& time, const LocalDateTime& now, std::vector<HitTarget>& targets,
                          Scene& scene, const Affine& transform, const TextRenderer& text, const Theme& theme,
                          const ListArea& list, double t) {
  const std::string label = journey_time_label(time, now);
  const bool has_reset = !leaving_now(time);
  // Laid out for the widest label, so stepping the time never moves the buttons under the pointer.
  const double label_room = std::max({measure_text(text, "Now", kLabelSize), measure_text(text, "00:00", kLabelSize),
                                      measure_text(text, label, kLabelSize)});
  const JourneyTimeLayout l =
      journey_time_layout(list, t, label_room, has_reset, measure_text(text, "Reset to now", kResetSize));

  fill_rounded_rect(scene, transform, l.segments, theme.background, 9.0);
  const double mid = (l.segments.x0 + l.segments.x1) / 2.0;
  const struct {
    TransitTimeMode mode;
    std::string_view label;
    Rect half;
  } halves[] = {
      {TransitTimeMode::Depart, "Leave", {l.segments.x0, t, mid, l.segments.y1}},
      {TransitTimeMode::Arrive, "Arrive", {mid, t, l.segments.x1, l.segments.y1}},
  };
  for (const auto& h : halves) {
    const bool chosen = time.mode == h.mode;
    if (chosen) {
      const Rect inset{h.half.x0 + 3.0, t + 3.0, h.half.x1 - 3.0, t + 33.0};
      fill_rounded_rect(scene, transform, inset, theme.accent.multiply_alpha(0.14f), 7.0);
      stroke_rounded_rect(scene, transform, inset, theme.accent, 7.0, 1.0);
    }
    const Color chosen_ink = readable_on(theme.accent, composite(theme.accent.multiply_alpha(0.14f), theme.background));
    draw_text_centered(scene, text, transform, h.label, chosen ? chosen_ink : theme.text_secondary, h.half.x0,
                       h.half.x1, t + 10.5, 12.0f);
    add_list_target(targets, list, h.half, UiMessage{msg::SetTransitTimeMode{h.mode}});
  }

  const struct {
    Rect r;
    std::string_view glyph;
    std::int32_t minutes;
  } steps[] = {{l.earlier, "\u2013", -15}, {l.later, "+", 15}};
  for (const auto& s : steps) {
    fill_rounded_rect(scene, transform, s.r, theme.background, 8.0);
    draw_text_centered(scene, text, transform, s.glyph, theme.text, s.r.x0, s.r.x1, s.r.y0 + 6.75, 18.0f);
    add_list_target(targets, list, s.r, UiMessage{msg::ShiftTransitTime{s.minutes}});
  }
  if (l.label_span) {
    draw_text_centered(scene, text, transform, label, theme.accent, l.label_span->first, l.label_span->second,
                       l.label_y, kLabelSize);
  }
  if (l.reset) {
    fill_rounded_rect(scene, transform, *l.reset, theme.surface, 8.0);
    stroke_rounded_rect(scene, transform, *l.reset, theme.border, 8.0, 1.0);
    draw_text_centered(scene, text, transform, "Reset to now", theme.text, l.reset->x0, l.reset->x1, l.reset->y0 + 5.5,
                       kResetSize);
    add_list_target(targets, list, *l.reset, UiMessage{msg::LeaveNow{}});
  }
  return l.bottom;
}

}  // namespace maps

// The status pill under the search box: shown while work is under way, when the status reports
// a failure (then with a red dot), and for a notice such as a search that found nothing.

#include <algorithm>
#include <string>

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "overlay/map_controls.hpp"
#include "overlay/overlay_painters.hpp"

namespace maps {
namespace {

constexpr double kPillPadding = 36.0;  // the dot and the space around the text

// Where the pill is centred: under the search box in the map beside the side panel, left of the
// map controls; over the narrow layout's open panel, in the panel's header beside its title.
Rect status_pill_area(const OverlayInputs& in) {
  const Rect& b = in.bounds;
  const bool narrow = is_narrow_layout(b);
  if (narrow && in.side_panel.expanded && in.panel_header_room) return *in.panel_header_room;
  const double left = narrow ? b.x0 + kLayoutMargin : side_panel_rect(b).x1 + kLayoutGap;
  const double right = control_button_rect(b, MapControl::ZoomIn).x0 - kLayoutGap;
  return {left, b.y0 + 74.0, std::max(right, left), b.y0 + 104.0};
}

}  // namespace

std::optional<zarn_ui::widgets::TooltipTarget> paint_status_pill(const OverlayInputs& in, Scene& scene, const Affine& t,
                                                                 const OverlayText& text, const OverlayTheme& theme) {
  const std::string& status = in.status;
  if (status.empty() || in.search_suggestions_showing) return std::nullopt;
  // What the status tells, never its words: a place named "Error Bay" is no failure.
  const StatusKind kind = in.status_kind;
  const bool failure = kind == StatusKind::Failure;
  const bool working = in.jobs_pending || status_in_progress(kind);
  if (!working && !failure && kind != StatusKind::Notice) return std::nullopt;
  const Rect area = status_pill_area(in);
  // One line, shortened to the area: a long text never runs under the controls or the panel.
  const double room = std::max(area.width() - kPillPadding, 0.0);
  const std::string shown = ellipsize_text(text, status, 12.0f, room);
  const double w = std::min(measure_text(text, shown, 12.0f), room), cx = (area.x0 + area.x1) / 2.0;
  const double top = (area.y0 + area.y1) / 2.0 - 15.0;
  const Rect pill{cx - (w + kPillPadding) / 2.0, top, cx + (w + kPillPadding) / 2.0, top + 30.0};
  paint_card(scene, t, pill, theme.surface, theme.border, 15.0);
  fill_circle(scene, t, failure ? theme.danger : theme.accent, pill.x0 + 16.0, (pill.y0 + pill.y1) / 2.0, 4.0);
  draw_label(scene, text, t, shown, theme.text, pill.x0 + 28.0, pill.y0 + 7.5, 12.0f);
  // Shortened, the cause of a failure is what goes: resting the pointer on the pill shows it.
  if (shown == status) return std::nullopt;
  return zarn_ui::widgets::TooltipTarget{pill, status};
}

}  // namespace maps

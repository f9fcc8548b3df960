// The status pill under the search box: shown while work is under way, when the status reports
// a failure (then with a red dot), and for a notice such as a search that found nothing.

#include <algorithm>
#include <cctype>
#include <string>

#include "app/maps_app.hpp"
#include "draw_kit/card.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "overlay/overlay_painters.hpp"

namespace maps {
namespace {

constexpr double kPillPadding = 36.0;  // the dot and the space around the text
constexpr double kPillMargin = 16.0;

bool reports_failure(const std::string& status) {
  std::string lower = status;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* word : {"failed", "unavailable", "denied", "error"}) {
    if (lower.find(word) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

void paint_status_pill(const MapsApp& app, Scene& scene, const Affine& t, const OverlayText& text,
                       const OverlayTheme& theme) {
  const std::string& status = app.model.status;
  if (status.empty() || app.search_box.suggestions_showing(app.model.query)) return;
  const bool failure = reports_failure(status);
  const bool working =
      app.pending_jobs > 0 || status_in_progress(app.status_kind) || status.find("…") != std::string::npos;
  if (!working && !failure && app.status_kind != StatusKind::Notice) return;
  const Rect& b = app.bounds_rect;
  // A text wider than the window is shortened so the pill keeps a margin on both sides.
  const double room = std::max(b.width() - 2.0 * kPillMargin - kPillPadding, 0.0);
  const std::string shown = ellipsize_text(text, status, 12.0f, room);
  const double w = measure_text(text, shown, 12.0f), cx = (b.x0 + b.x1) / 2.0;
  const Rect pill{cx - (w + kPillPadding) / 2.0, b.y0 + 74.0, cx + (w + kPillPadding) / 2.0, b.y0 + 104.0};
  paint_card(scene, t, pill, theme.surface, theme.border, 15.0);
  fill_circle(scene, t, failure ? theme.danger : theme.accent, pill.x0 + 16.0, (pill.y0 + pill.y1) / 2.0, 4.0);
  draw_label(scene, text, t, shown, theme.text, pill.x0 + 28.0, pill.y0 + 7.5, 12.0f);
}

}  // namespace maps

#pragma once
// The journey-time controls of the directions panel: "Leave" or "Arrive", a step earlier or
// later, the time they give, and the way back to leaving now.

#include <optional>
#include <string>

#include <vector>

#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "format/local_date_time.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

struct JourneyTimeLayout {
  Rect segments;  // "Leave" | "Arrive"
  Rect earlier;   // "–"
  Rect later;     // "+"
  // The span the time label is centred in; none when a very narrow panel has no room for it.
  std::optional<std::pair<double, double>> label_span;
  double label_y = 0.0;
  std::optional<Rect> reset;  // "Reset to now", unless the time is now
  double bottom = 0.0;        // below the controls
};

// Where the controls go from top t, for a label `label_width` wide. The earlier and later
// buttons sit beside the segments when the label fits between them; in a narrower panel they
// move to a row of their own under the segments, so neither covers the other or the label.
JourneyTimeLayout journey_time_layout(const ListArea& list, double t, double label_width, bool has_reset,
                                      double reset_text_width);

// "Now" when leaving now, else the clock time the offset gives from `now`.
std::string journey_time_label(const TransitTime& time, const LocalDateTime& now);

// Paints the controls from top t, their press areas going to `targets`, and returns the y below them.
double paint_journey_time(const TransitTime& time, const LocalDateTime& now, std::vector<HitTarget>& targets,
                          Scene& scene, const Affine& transform, const TextRenderer& text,
                          const zarn_ui::theme::Theme& theme, const ListArea& list, double t);

}  // namespace maps

#include "draw_kit/suggestion_rows.hpp"

#include <algorithm>

#include "draw_kit/card.hpp"
#include "draw_kit/palette.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "format/units.hpp"
#include "geo/geo.hpp"

namespace maps {

std::optional<std::uint64_t> step_highlight(std::optional<std::uint64_t> current, std::size_t count, int delta) {
  const std::uint64_t rows = std::min(count, kMaxSuggestionRows);
  if (rows == 0) return std::nullopt;
  if (delta == 0) return current;
  if (!current || *current >= rows) return delta > 0 ? 0 : rows - 1;
  return (*current + (delta > 0 ? 1 : rows - 1)) % rows;
}

Rect suggestion_card_rect(const Rect& anchor, std::size_t count) {
  const double n = static_cast<double>(std::min(count, kMaxSuggestionRows));
  return {anchor.x0, anchor.y1 + 6.0, anchor.x1, anchor.y1 + 18.0 + 46.0 * n};
}

SuggestionRows paint_suggestion_rows(Scene& scene, const Affine& transform, const TextRenderer& text,
                                     const zarn_ui::theme::Theme& theme, const Rect& anchor,
                                     const std::vector<Place>& places, LatLon reference,
                                     const std::optional<std::string>& selected, std::optional<std::uint64_t> pointed,
                                     SuggestionDisc disc) {
  SuggestionRows out;
  out.card = suggestion_card_rect(anchor, places.size());
  paint_card(scene, transform, out.card, theme.surface, theme.border, 12.0);
  const std::size_t n = std::min(places.size(), kMaxSuggestionRows);
  for (std::size_t i = 0; i < n; ++i) {
    const Place& place = places[i];
    const double y = anchor.y1 + 12.0 + 46.0 * static_cast<double>(i);
    const Rect row{anchor.x0 + 6.0, y, anchor.x1 - 6.0, y + 44.0};
    if (pointed == i) fill_rounded_rect(scene, transform, row, theme.hover, 8.0);
    if (selected && place.id == *selected) {
      fill_rounded_rect(scene, transform, row, theme.accent.multiply_alpha(0.12f), 8.0);
    }
    const double cx = anchor.x0 + 20.0, cy = y + 22.0;
    if (disc == SuggestionDisc::Accent) {
      fill_circle(scene, transform, mix_color(theme.accent, theme.background, 0.78f), cx, cy, 6.0);
      fill_circle(scene, transform, theme.accent, cx, cy, 2.4);
    } else {
      fill_circle(scene, transform, category_color(theme, place.category), cx, cy, 6.0);
    }
    const std::string distance = format_distance(haversine_m(place.pos, reference));
    const double room = (anchor.x1 - 6.0) - (anchor.x0 + 36.0) - (measure_text(text, distance, 11.0f) + 8.0);
    draw_text_ellipsized(scene, text, transform, place.name, theme.text, anchor.x0 + 36.0, y + 6.0, 13.0f, room);
    draw_text_ellipsized(scene, text, transform, place.address, theme.text_secondary, anchor.x0 + 36.0, y + 24.0, 11.0f,
                         room);
    Color row_fill = pointed == i ? theme.hover : theme.surface;
    if (selected && place.id == *selected) row_fill = composite(theme.accent.multiply_alpha(0.12f), row_fill);
    draw_text_right(scene, text, transform, distance, readable_on(theme.accent, row_fill), anchor.x1 - 14.0, y + 8.0,
                    11.0f);
    out.rows.push_back(row);
  }
  return out;
}

}  // namespace maps

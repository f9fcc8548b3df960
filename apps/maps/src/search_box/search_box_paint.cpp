#include "search_box/search_box_paint.hpp"

#include <algorithm>

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/suggestion_rows.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

SearchBoxEvent event_of(const SearchHit& hit) {
  switch (hit.kind) {
    case SearchHitKind::Box: return {SearchBoxEvent::Opened{}};
    case SearchHitKind::ClearButton: return {SearchBoxEvent::Cleared{}};
    case SearchHitKind::SuggestionRow: return {SearchBoxEvent::SuggestionChosen{hit.index}};
    case SearchHitKind::ListBackground: break;
  }
  return {SearchBoxEvent::Other{}};
}

void paint_magnifier(Scene& scene, const Affine& transform, const Color& colour, const Rect& r) {
  const double cy = (r.y0 + r.y1) / 2.0;
  stroke_circle(scene, transform, colour, r.x0 + 22.0, cy - 1.0, 6.0, 2.0);
  stroke_line(scene, transform, colour, r.x0 + 26.5, cy + 3.5, r.x0 + 31.0, cy + 8.0, 2.0);
}

}  // namespace

std::vector<HitTarget> take_search_targets(SearchBox& box) {
  std::vector<HitTarget> targets;
  for (const SearchHit& hit : box.take_hits()) {
    targets.push_back({hit.rect, UiMessage{msg::SearchBox{event_of(hit)}}});
  }
  return targets;
}

void paint_search_box(SearchBox& box, const SearchBoxInputs& in, Scene& scene, const Affine& transform,
                      const zarn_ui::widget::PaintCtx& ctx) {
  const Theme& theme = ctx.theme;
  const Rect r = search_box_rect(in.bounds);
  box.clear_hits();
  box.add_hit({r, SearchHitKind::Box, 0});
  paint_card(scene, transform, r, theme.surface, box.is_open() ? theme.focus : theme.border, 12.0);
  paint_magnifier(scene, transform, theme.text_secondary, r);
  box.draw_field(in.query, {r.x0 + 36.0, r.y0, r.x1 - 34.0, r.y1}, scene, transform, ctx);
  if (!in.query.empty()) {
    const Rect c{r.x1 - 32.0, r.y0 + 10.0, r.x1 - 10.0, r.y1 - 10.0};
    const double cx = (c.x0 + c.x1) / 2.0, cy = (c.y0 + c.y1) / 2.0;
    fill_circle(scene, transform, theme.background, cx, cy, 10.0);
    stroke_line(scene, transform, theme.text_secondary, cx - 4.0, cy - 4.0, cx + 4.0, cy + 4.0, 1.8);
    stroke_line(scene, transform, theme.text_secondary, cx + 4.0, cy - 4.0, cx - 4.0, cy + 4.0, 1.8);
    box.add_hit({c, SearchHitKind::ClearButton, 0});
  }
}

void paint_search_suggestions(SearchBox& box, const SearchBoxInputs& in, Scene& scene, const Affine& transform,
                              const TextRenderer& text, const Theme& theme) {
  if (box.suggestions_showing(in.query)) {
    const Rect r = search_box_rect(in.bounds);
    const SuggestionRows rows = paint_suggestion_rows(scene, transform, text, theme, r, box.suggestions(), in.reference,
                                                      in.selected, box.highlighted(), SuggestionDisc::Accent);
    box.add_hit({rows.card, SearchHitKind::ListBackground, 0});
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
      box.add_hit({rows.rows[i], SearchHitKind::SuggestionRow, i});
    }
  }
}

}  // namespace maps

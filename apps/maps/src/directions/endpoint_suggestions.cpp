#include "directions/endpoint_suggestions.hpp"

#include <string_view>

#include "base/text.hpp"
#include "draw_kit/card.hpp"
#include "draw_kit/suggestion_rows.hpp"
#include "search/ranking.hpp"

namespace maps {

void paint_endpoint_suggestions(EndpointEditor& editor, const MapModel& model, Scene& scene, const Affine& transform,
                                const TextRenderer& text, const zarn_ui::theme::Theme& theme) {
  if (model.panel != Panel::Directions || !editor.editing()) return;
  const EndpointField field = editor.active();
  const std::optional<Rect> box = editor.box(field);
  if (!box) return;
  const Rect f = *box;
  const std::vector<Place>& places = editor.suggestions(field);
  if (!places.empty()) {
    const LatLon reference = search::origin_or_centre(model.origin, model.center);
    const SuggestionRows rows = paint_suggestion_rows(scene, transform, text, theme, f, places, reference, std::nullopt,
                                                      editor.highlighted(), SuggestionDisc::Category);
    editor.add_hit({rows.card, EndpointHitKind::SuggestionCard, field, 0});
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
      editor.add_hit({rows.rows[i], EndpointHitKind::SuggestionRow, field, i});
    }
  } else if (!base::trim_white_space(editor.text(field)).empty()) {
    const Rect card{f.x0, f.y1 + 6.0, f.x1, f.y1 + 40.0};
    paint_card(scene, transform, card, theme.surface, theme.border, 12.0);
    editor.add_hit({card, EndpointHitKind::SuggestionCard, field, 0});
    // Until the field's search has ended without a place, its answer is still to come.
    const std::string_view label = editor.no_suggestions_text(field).value_or("Searching\u2026");
    draw_label(scene, text, transform, label, theme.text_secondary, f.x0 + 12.0, f.y1 + 17.0, 12.0f);
  }
}

}  // namespace maps

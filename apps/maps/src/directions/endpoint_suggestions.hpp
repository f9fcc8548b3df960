#pragma once
// The suggestion card of the endpoint field being edited, under the field's box, recording its
// press areas in the endpoint editor.

#include "directions/endpoint_editor.hpp"
#include "draw_kit/primitives.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

// In Directions mode while a field whose box was painted is edited: its suggestions (at most
// six rows, their distances from the model's origin or centre), or "Searching…" while a typed
// text has none yet, and "No matching places" or "Search failed" once its search ended so.
void paint_endpoint_suggestions(EndpointEditor& editor, const MapModel& model, Scene& scene, const Affine& transform,
                                const TextRenderer& text, const zarn_ui::theme::Theme& theme);

}  // namespace maps

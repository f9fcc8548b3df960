#pragma once
// The overlay's step that draws the suggestion list of the endpoint field being edited, under
// the field's box, recording its press areas in the endpoint editor.

#include "draw_kit/primitives.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

// In Directions mode while a field whose box was painted is edited: its suggestions (at most
// six rows), or "Searching…" while a typed text has none yet.
void paint_endpoint_suggestions(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                                const zarn_ui::theme::Theme& theme);

}  // namespace maps

#pragma once
// The overlay's steps that draw the search box and its suggestion list, recording their press
// areas and handing them on to the frame's hit targets.

#include "draw_kit/primitives.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

class MapsApp;

// The box, its magnifier, its text field and, with a query, its clear button.
void paint_search_box(MapsApp& app, Scene& scene, const Affine& transform, const zarn_ui::widget::PaintCtx& ctx);
// The suggestion list under the box while it shows: at most six rows.
void paint_search_suggestions(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                              const zarn_ui::theme::Theme& theme);
// The search box's recorded hits become hit targets, in order, with the box's event for each kind.
void move_search_hits(MapsApp& app);

}  // namespace maps

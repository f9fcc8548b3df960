#pragma once
// The Explore mode's lists in the side panel: the selected place, the search results, the nearby
// points of interest, the saved places and the recent searches, or the empty state's greeting.

#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

class MapsApp;

// Paints the lists from the top y and returns the y below them.
double paint_explore_lists(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                           const zarn_ui::theme::Theme& theme, const ListArea& list, double y);

// One place row of the RESULTS and SAVED lists at top y; returns the next row's top (y + 56).
double paint_result_row(MapsApp& app, Scene& scene, const Affine& transform, const TextRenderer& text,
                        const zarn_ui::theme::Theme& theme, const ListArea& list, const Place& place, double y);

}  // namespace maps

#pragma once
// The Explore mode's lists in the side panel: the selected place, the search results, the nearby
// points of interest, the saved places and the recent searches, or the empty state's greeting.

#include <vector>

#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "side_panel/side_panel.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

// What the list painters read, draw with and record their rows' press areas in.
struct ListPaint {
  const SidePanelInputs& in;
  Scene& scene;
  const Affine& transform;
  const TextRenderer& text;
  const zarn_ui::theme::Theme& theme;
  const ListArea& list;
  std::vector<HitTarget>& hits;
};

// Paints the lists from the top y and returns the y below them.
double paint_explore_lists(const ListPaint& p, double y);

// One place row of the RESULTS and SAVED lists at top y; returns the next row's top (y + 56).
double paint_result_row(const ListPaint& p, const Place& place, double y);

}  // namespace maps

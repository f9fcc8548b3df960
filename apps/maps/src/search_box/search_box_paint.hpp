#pragma once
// The search box's two layers, the box and the suggestion list under it: each records its own
// press areas in the box, which the window then takes as its hit targets.

#include <optional>
#include <string>
#include <vector>

#include "draw_kit/primitives.hpp"
#include "messages/ui_message.hpp"
#include "model/records.hpp"
#include "search_box/search_box.hpp"
#include "zarn_ui/geometry.hpp"
#include "zarn_ui/theme.hpp"
#include "zarn_ui/widget.hpp"

namespace maps {

// What the box and its list read of the window.
struct SearchBoxInputs {
  const std::string& query;
  const zarn_ui::Rect& bounds;                 // of the window: the box sits at its top left
  LatLon reference;                            // the list's distances are told from here
  const std::optional<std::string>& selected;  // the selected place, marked in the list
};

// The box, its magnifier, its text field and, with a query, its clear button.
void paint_search_box(SearchBox& box, const SearchBoxInputs& in, Scene& scene, const Affine& transform,
                      const zarn_ui::widget::PaintCtx& ctx);
// The suggestion list under the box while it shows: at most six rows.
void paint_search_suggestions(SearchBox& box, const SearchBoxInputs& in, Scene& scene, const Affine& transform,
                              const TextRenderer& text, const zarn_ui::theme::Theme& theme);
// The hits recorded since the last take, in order, as hit targets with the box's event for each
// kind; the box's list is left empty.
std::vector<HitTarget> take_search_targets(SearchBox& box);

}  // namespace maps

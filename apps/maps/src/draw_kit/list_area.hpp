#pragma once
// The list area of the side panel that the explore lists and the directions panel paint into:
// its visible rectangle, its edges, and the press areas of rows, which only count where the row
// is in view.

#include <optional>
#include <vector>

#include "messages/ui_message.hpp"
#include "zarn_ui/geometry.hpp"

namespace maps {

struct ListArea {
  zarn_ui::Rect visible;  // the clip of the list
  double left = 0.0;
  double right = 0.0;
  double width() const { return right - left; }
};

// The part of `r` inside the list's visible area; none when it is scrolled out of view.
std::optional<zarn_ui::Rect> visible_part(const ListArea& list, const zarn_ui::Rect& r);
// Records `message` for the visible part of `r`; nothing when it is scrolled out of view.
void add_list_target(std::vector<HitTarget>& targets, const ListArea& list, const zarn_ui::Rect& r, UiMessage message);

}  // namespace maps

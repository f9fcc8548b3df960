#include "draw_kit/list_area.hpp"

#include <algorithm>
#include <utility>

namespace maps {

std::optional<zarn_ui::Rect> visible_part(const ListArea& list, const zarn_ui::Rect& r) {
  const zarn_ui::Rect v = list.visible;
  const zarn_ui::Rect part{std::max(r.x0, v.x0), std::max(r.y0, v.y0), std::min(r.x1, v.x1), std::min(r.y1, v.y1)};
  if (!(part.x0 < part.x1 && part.y0 < part.y1)) return std::nullopt;
  return part;
}

void add_list_target(std::vector<HitTarget>& targets, const ListArea& list, const zarn_ui::Rect& r, UiMessage message) {
  if (auto part = visible_part(list, r)) targets.push_back({*part, std::move(message)});
}

}  // namespace maps

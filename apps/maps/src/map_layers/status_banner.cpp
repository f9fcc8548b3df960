#include "map_layers/status_banner.hpp"

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"

namespace maps {

bool tiles_may_still_load(const TileStore& store) {
  if (tile_host_failing(store)) return false;
  return !has_failed_tiles(store) || tiles_in_flight(store);
}

void paint_status_banner(Scene& scene, const Affine& transform, const TextRenderer& text, const Rect& bounds,
                         bool panel_collapsed, const TileStore& store, const zarn_ui::theme::Theme& theme) {
  const bool loading = tiles_may_still_load(store);
  const std::string_view label = loading ? kLoadingMapText : kImageryUnavailableText;
  const Color& dot = loading ? theme.accent : theme.warning;

  const double left =
      (!is_narrow_layout(bounds) && !panel_collapsed) ? side_panel_rect(bounds).x1 + kLayoutGap : bounds.x0;
  const double cx = (left + bounds.x1) / 2.0, cy = (bounds.y0 + bounds.y1) / 2.0;
  const double half = (measure_text(text, label, 13.0f) + 44.0) / 2.0;
  const Rect card{cx - half, cy - 17.0, cx + half, cy + 17.0};
  paint_card(scene, transform, card, theme.surface, theme.border, 17.0);
  fill_circle(scene, transform, dot, card.x0 + 18.0, (card.y0 + card.y1) / 2.0, 4.0);
  draw_label(scene, text, transform, label, theme.text, card.x0 + 30.0, card.y0 + (card.height() - 16.25) / 2.0, 13.0f);
}

}  // namespace maps

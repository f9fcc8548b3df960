// The card of the selected point of interest at the bottom of the map: its name, category,
// address, hours, phone and website, a close button and "Directions".

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "draw_kit/card.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "overlay/map_controls.hpp"
#include "overlay/overlay_painters.hpp"
#include "search/categories.hpp"

namespace maps {
namespace {

constexpr double kBaseHeight = 118.0;  // name, category and Directions
constexpr double kRowHeight = 24.0;
constexpr double kHighestTop = 114.0;  // below the status pill
constexpr double kMinWidth = 200.0;

struct PoiDetailRow {
  std::string text;
  std::string glyph;
  bool link = false;
};

std::vector<PoiDetailRow> detail_rows(const Poi& poi) {
  std::vector<PoiDetailRow> rows;
  if (!poi.address.empty()) rows.push_back({poi.address, "◎", false});
  if (poi.opening_hours) rows.push_back({*poi.opening_hours, "◷", false});
  if (poi.phone) rows.push_back({*poi.phone, "✆", false});
  if (poi.website) rows.push_back({*poi.website, "⚓", true});
  return rows;
}

}  // namespace

std::vector<HitTarget> paint_poi_card(const OverlayInputs& in, const PoiCardClearOf& clear_of, Scene& scene,
                                      const Affine& t, const OverlayText& text, const OverlayTheme& theme) {
  if (!in.selected_poi) return {};
  // Over the narrow layout's open panel there is no room for it: the panel lists the place,
  // highlighted, and the card comes once the panel is closed.
  if (is_narrow_layout(in.bounds) && in.side_panel.expanded) return {};
  const auto it = std::find_if(in.pois.begin(), in.pois.end(), [&](const Poi& p) { return p.id == *in.selected_poi; });
  if (it == in.pois.end()) return {};
  const Poi poi = *it;
  std::vector<PoiDetailRow> rows = detail_rows(poi);

  const Rect& b = in.bounds;
  const double left = overlay_card_left(b, in.side_panel), right_limit = b.x1 - 16.0;
  const double w = std::min(std::max(right_limit - left, 200.0), 360.0);
  double x0 = std::max((left + right_limit) / 2.0 - w / 2.0, left), x1 = x0 + w;
  // Above the bottom controls, and above the traffic legend and the docked navigation panel
  // where they lie under it.
  double bottom = b.y1 - 54.0;
  for (const auto& below : {clear_of.legend, clear_of.docked_navigation}) {
    if (below && below->x0 < x1 && x0 < below->x1) bottom = std::min(bottom, below->y0 - kLayoutGap);
  }
  // Below the status pill's row. Where that leaves too little room, the detail rows go first
  // (the place's name, category and Directions stay); a card that reaches up beside the map
  // controls ends left of them.
  const double highest = b.y0 + kHighestTop;
  while (!rows.empty() && bottom - (kBaseHeight + kRowHeight * static_cast<double>(rows.size())) < highest) {
    rows.pop_back();
  }
  const double n = static_cast<double>(rows.size());
  const double top = std::max(bottom - (kBaseHeight + kRowHeight * n), highest);
  bottom = top + kBaseHeight + kRowHeight * n;
  if (map_controls_shown(b, in.side_panel.expanded)) {
    const Rect controls = control_button_rect(b, MapControl::Traffic);
    if (top < controls.y1 + kLayoutGap) {
      x1 = std::min(x1, control_button_rect(b, MapControl::ZoomIn).x0 - kLayoutGap);
      x0 = std::min(x0, std::max(x1 - kMinWidth, left));
    }
  }

  const Rect card{x0, top, x1, bottom};
  paint_card(scene, t, card, theme.surface, theme.border, 16.0);
  std::vector<HitTarget> hits{{card, UiMessage{msg::Noop{}}}};
  // The category's strip along the left edge, following the card's rounded corners.
  scene.push_layer(zarn_ui::RoundedRect::make(card, 16.0), t);
  fill_rounded_rect(scene, t, {x0, top, x0 + 5.0, bottom}, category_color(theme, poi.category), 16.0);
  scene.pop_layer();

  draw_text_centered(scene, text, t, "✕", theme.text_secondary, x1 - 36.0, x1 - 10.0, top + 14.0, 14.0f);
  hits.push_back({{x1 - 36.0, top + 12.0, x1 - 10.0, top + 38.0}, UiMessage{msg::ClosePoi{}}});

  // The name ends clear of the close button.
  draw_text_ellipsized_weighted(scene, text, t, poi.name, theme.text, x0 + 16.0, top + 14.0, 18.0f, FontWeight::Bold,
                                (x1 - 40.0) - (x0 + 16.0));
  const std::string_view label = search::category_label(poi.category);
  draw_label(scene, text, t, label, theme.accent, x0 + 16.0, top + 40.0, 12.0f);
  if (poi.kind) {
    const double kx = x0 + 16.0 + measure_text(text, label, 12.0f) + 10.0;
    draw_text_ellipsized(scene, text, t, "· " + *poi.kind, theme.text_secondary, kx, top + 40.0, 12.0f,
                         (x1 - 16.0) - kx);
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double y = top + 64.0 + 24.0 * static_cast<double>(i);
    draw_label(scene, text, t, rows[i].glyph, theme.text_secondary, x0 + 16.0, y, 12.0f);
    draw_text_ellipsized(scene, text, t, rows[i].text, rows[i].link ? theme.accent : theme.text, x0 + 36.0, y, 12.0f,
                         (x1 - 16.0) - (x0 + 36.0));
  }

  const double by = top + 70.0 + 24.0 * n;
  const Rect button{x0 + 16.0, by, x1 - 16.0, by + 36.0};
  fill_rounded_rect(scene, t, button, theme.accent, 9.0);
  draw_text_centered(scene, text, t, "Directions", label_on(theme.accent), button.x0, button.x1, by + 9.875, 13.0f);
  hits.push_back({button, UiMessage{msg::DirectionsToPoi{}}});
  return hits;
}

}  // namespace maps

// The card of the selected point of interest at the bottom of the map: its name, category,
// address, hours, phone and website, a close button and "Directions".

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/maps_app.hpp"
#include "draw_kit/card.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "overlay/overlay_painters.hpp"
#include "search/categories.hpp"

namespace maps {
namespace {

using zarn_ui::text_render::kWeightBold;

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

void paint_poi_card(MapsApp& app, Scene& scene, const Affine& t, const OverlayText& text, const OverlayTheme& theme) {
  if (!app.selected_poi) return;
  const auto it =
      std::find_if(app.pois.begin(), app.pois.end(), [&](const Poi& p) { return p.id == *app.selected_poi; });
  if (it == app.pois.end()) return;
  const Poi poi = *it;
  const std::vector<PoiDetailRow> rows = detail_rows(poi);
  const double n = static_cast<double>(rows.size());

  const Rect& b = app.bounds_rect;
  const double left = overlay_card_left(app), right_limit = b.x1 - 16.0;
  const double w = std::min(std::max(right_limit - left, 200.0), 360.0);
  const double x0 = std::max((left + right_limit) / 2.0 - w / 2.0, left), x1 = x0 + w;
  const double bottom = b.y1 - 54.0, top = bottom - (118.0 + 24.0 * n);

  const Rect card{x0, top, x1, bottom};
  paint_card(scene, t, card, theme.surface, theme.border, 16.0);
  app.hit_targets.push_back({card, UiMessage{msg::Noop{}}});
  // The category's strip along the left edge, following the card's rounded corners.
  scene.push_layer(zarn_ui::RoundedRect::make(card, 16.0), t);
  fill_rounded_rect(scene, t, {x0, top, x0 + 5.0, bottom}, category_color(theme, poi.category), 16.0);
  scene.pop_layer();

  draw_text_centered(scene, text, t, "✕", theme.text_secondary, x1 - 36.0, x1 - 10.0, top + 14.0, 14.0f);
  app.hit_targets.push_back({{x1 - 36.0, top + 12.0, x1 - 10.0, top + 38.0}, UiMessage{msg::ClosePoi{}}});

  draw_label_weighted(scene, text, t, poi.name, theme.text, x0 + 16.0, top + 14.0, 18.0f, kWeightBold);
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
  draw_text_centered(scene, text, t, "Directions", Color::white(), button.x0, button.x1, by + 9.875, 13.0f);
  app.hit_targets.push_back({button, UiMessage{msg::DirectionsToPoi{}}});
}

}  // namespace maps

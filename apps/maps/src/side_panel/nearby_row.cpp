#include "side_panel/nearby_row.hpp"

#include "draw_kit/category_glyph.hpp"
#include "draw_kit/palette.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "fmt/format.h"
#include "format/units.hpp"
#include "geo/geo.hpp"
#include "search/categories.hpp"

namespace maps {
namespace {

constexpr double kDiscRadius = 11.0;

}  // namespace

std::string nearby_subtitle(const Poi& poi) {
  const std::string_view label = search::category_label(poi.category);
  if (!poi.address.empty()) return fmt::format("{} \u00b7 {}", label, poi.address);
  if (poi.kind && !poi.kind->empty()) return fmt::format("{} \u00b7 {}", label, *poi.kind);
  return std::string(label);
}

void paint_nearby_row(const ListPaint& p, const Poi& poi, LatLon reference, double y) {
  Scene& scene = p.scene;
  const Affine& transform = p.transform;
  const TextRenderer& text = p.text;
  const zarn_ui::theme::Theme& theme = p.theme;
  const ListArea& list = p.list;
  const bool selected = p.in.selected_poi == poi.id;
  const double left = list.left, right = list.right, w = list.width();
  if (selected) {
    fill_rounded_rect(scene, transform, {left, y, right, y + 48.0}, theme.accent.multiply_alpha(0.14f), 8.0);
  }
  // The pictogram is as large as the disc's radius, as on the map's markers, and cuts its
  // openings in the disc's colour.
  const Color disc = mix_color(theme.accent, theme.background, 0.78f);
  const Point centre{left + 18.0, y + 24.0};
  fill_circle(scene, transform, disc, centre.x, centre.y, kDiscRadius);
  paint_category_glyph(scene, transform, poi.category, theme.text, disc, centre, kDiscRadius);

  const std::string d = format_distance(haversine_m(poi.pos, reference));
  const Color row = selected ? composite(theme.accent.multiply_alpha(0.14f), theme.surface) : theme.surface;
  draw_text_right(scene, text, transform, d, readable_on(theme.accent, row), right - 8.0, y + 8.0, 11.0f);
  const double room = (w - 38.0) - (measure_text(text, d, 11.0f) + 10.0);
  draw_text_ellipsized(scene, text, transform, poi.name, theme.text, left + 38.0, y + 6.0, 13.0f, room);
  draw_text_ellipsized(scene, text, transform, nearby_subtitle(poi), theme.text_secondary, left + 38.0, y + 24.0, 11.0f,
                       room);
  add_list_target(p.hits, list, {left, y, right, y + 48.0}, UiMessage{msg::OpenPoi{poi.id}});
}

}  // namespace maps

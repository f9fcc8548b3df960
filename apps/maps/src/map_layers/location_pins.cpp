#include "map_layers/location_pins.hpp"

#include "draw_kit/card.hpp"
#include "draw_kit/primitives.hpp"
#include "draw_kit/theme_colors.hpp"
#include "map_layers/pin.hpp"
#include "map_layers/pin_images.hpp"

namespace maps {

namespace {

void paint_origin_dot(Scene& scene, const Affine& transform, Point p, const zarn_ui::theme::Theme& theme) {
  fill_circle(scene, transform, rgba8_to_f32({0, 0, 0, 60}), p.x, p.y + 1.0, 6.5);
  fill_circle(scene, transform, theme.background, p.x, p.y, 6.0);
  stroke_circle(scene, transform, theme.accent, p.x, p.y, 6.0, 3.0);
  fill_circle(scene, transform, theme.accent, p.x, p.y, 2.2);
}

// The selected place's name above its pin, left out where it would cross the area's sides.
void paint_name_card(Scene& scene, const Affine& transform, const TextRenderer& text, const Place& place, Point p,
                     const zarn_ui::theme::Theme& theme, const Rect& area) {
  const double w = text.measure_weighted(place.name, 12.0f, FontWeight::Semibold) + 14.0;
  const Rect card{p.x - w / 2.0, p.y - 56.0, p.x + w / 2.0, p.y - 34.0};
  if (card.x0 < area.x0 || card.x1 > area.x1) return;
  paint_card(scene, transform, card, theme.surface, theme.border, 6.0);
  draw_label_weighted(scene, text, transform, place.name, theme.text, card.x0 + 7.0, card.y0 + 4.0, 12.0f,
                      FontWeight::Semibold);
}

}  // namespace

void paint_location_and_selection(Scene& scene, const Affine& transform, const TextRenderer& text, const Camera& camera,
                                  const MapModel& model, const zarn_ui::theme::Theme& theme, const MapPalette& palette,
                                  const Rect& marker_area, PinImages& pins, double device_scale) {
  scene.push_layer(marker_area, transform);
  if (model.origin) {
    const Point p = camera_project(camera, model.origin->lat, model.origin->lon);
    if (marker_area.contains(p)) paint_origin_dot(scene, transform, p, theme);
  }
  const Place* selected = nullptr;
  std::vector<Point> tips;
  std::vector<Color> colors;
  for (const Place& place : model.places) {
    if (model.selected == place.id) {
      if (!selected) selected = &place;
      continue;
    }
    const Point p = camera_project(camera, place.pos.lat, place.pos.lon);
    if (!marker_area.contains(p)) continue;
    tips.push_back(p);
    colors.push_back(category_color(theme, place.category));
  }
  if (tips.size() > PinImages::kCrowd) {
    pins.paint_crowd(scene, transform, tips, colors, palette, device_scale);
  } else {
    for (std::size_t i = 0; i < tips.size(); ++i) paint_pin(scene, transform, tips[i], colors[i], palette, false);
  }
  if (selected) {
    const Point p = camera_project(camera, selected->pos.lat, selected->pos.lon);
    if (marker_area.contains(p)) {
      paint_pin(scene, transform, p, category_color(theme, selected->category), palette, true);
      paint_name_card(scene, transform, text, *selected, p, theme, marker_area);
    }
  }
  scene.pop_layer();
}

}  // namespace maps

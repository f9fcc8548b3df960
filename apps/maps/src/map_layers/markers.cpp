#include "map_layers/markers.hpp"

#include <algorithm>
#include <numeric>

#include "app/maps_app.hpp"
#include "draw_kit/category_glyph.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/theme_colors.hpp"

namespace maps {

namespace {

struct MarkerSize {
  double radius;
  double ring;
  double pictogram;
};

MarkerSize marker_size(bool selected, bool large) {
  if (selected) return {large ? 13.0 : 8.5, 2.5, 13.0};
  return {large ? 9.0 : 4.5, 1.6, 9.0};
}

double distance2(Point a, Point b) { return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y); }

void paint_label(Scene& scene, const Affine& transform, const TextRenderer& text, const std::string& name,
                 const zarn_ui::theme::Theme& theme, float size, const Rect& area, Point p, double r) {
  const double w = measure_text(text, name, size);
  const Point at{p.x + r + 6.0, p.y - 0.72 * size};
  const Rect backdrop{at.x - 4.0, at.y - 1.0, at.x + w + 6.0, at.y + size + 3.0};
  // The bottom is left to the clip layer.
  if (backdrop.x0 < area.x0 || backdrop.x1 > area.x1 || backdrop.y0 < area.y0) return;
  fill_rounded_rect(scene, transform, backdrop, theme.background.multiply_alpha(0.74f), 4.0);
  draw_label_weighted(scene, text, transform, name, theme.text, at.x, at.y, size, 1);
}

}  // namespace

Rect marker_area(const Rect& bounds, bool panel_expanded) {
  Rect area = bounds;
  if (is_narrow_layout(bounds) && panel_expanded) {
    area.x0 = std::min(side_panel_rect(bounds).x1 + kLayoutGap, bounds.x1);
  }
  return area;
}

std::uint8_t category_marker_priority(Category category) {
  switch (category) {
    case Category::Landmark:
    case Category::Transit: return 6;
    case Category::Museum:
    case Category::Hospital: return 5;
    case Category::Park: return 4;
    case Category::Restaurant:
    case Category::Hotel: return 3;
    case Category::Cafe:
    case Category::Bar: return 2;
    case Category::Shop: return 1;
    case Category::Other: break;
  }
  return 0;
}

bool PoiMarkerPriority::operator()(std::size_t a, std::size_t b) const {
  const bool sel_a = selected_id_ && pois_[a].id == *selected_id_;
  const bool sel_b = selected_id_ && pois_[b].id == *selected_id_;
  if (sel_a != sel_b) return sel_a;
  const std::uint8_t pa = category_marker_priority(pois_[a].category);
  const std::uint8_t pb = category_marker_priority(pois_[b].category);
  if (pa != pb) return pa > pb;
  return a < b;
}

std::vector<std::size_t> declutter_points(const Camera& camera, const std::vector<Poi>& pois,
                                          const std::optional<std::string>& selected_id, double spacing) {
  std::vector<Point> points;
  points.reserve(pois.size());
  for (const Poi& poi : pois) points.push_back(camera_project(camera, poi.pos.lat, poi.pos.lon));

  std::vector<std::size_t> order(pois.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), PoiMarkerPriority(pois, selected_id));

  const double min2 = std::max(spacing * spacing, 0.0);
  std::vector<std::size_t> kept;
  for (const std::size_t i : order) {
    const bool crowded =
        std::any_of(kept.begin(), kept.end(), [&](std::size_t k) { return distance2(points[i], points[k]) < min2; });
    if (!crowded) kept.push_back(i);
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

std::vector<std::size_t> poi_marker_layout(const MapsApp& app) {
  const Camera camera = view_camera(app.bounds_rect, app.model.center, app.model.zoom);
  const double spacing = app.model.zoom >= kPictogramZoom ? 26.0 : 15.0;
  return declutter_points(camera, app.pois, app.selected_poi, spacing);
}

void paint_marker(Scene& scene, const Affine& transform, const TextRenderer& text, const Poi& poi,
                  const zarn_ui::theme::Theme& theme, const MapPalette& palette, MarkerLook look,
                  const Rect& marker_area, Point p) {
  const MarkerSize size = marker_size(look.selected, look.pictogram);
  const Color c = category_color(theme, poi.category);
  fill_circle(scene, transform, Color::black().with_alpha(0.32f), p.x, p.y + 0.9, size.radius + 1.3);
  fill_circle(scene, transform, c, p.x, p.y, size.radius);
  stroke_circle(scene, transform, palette.halo, p.x, p.y, size.radius, size.ring);
  if (look.pictogram) paint_category_glyph(scene, transform, poi.category, palette.halo, c, p, size.pictogram);
  if (look.selected) stroke_circle(scene, transform, c.multiply_alpha(0.5f), p.x, p.y, size.radius + 4.0, 2.0);
  if (look.label) {
    paint_label(scene, transform, text, poi.name, theme, look.selected ? 12.0f : 11.0f, marker_area, p, size.radius);
  }
}

void paint_markers(Scene& scene, const Affine& transform, const TextRenderer& text, const Camera& camera,
                   const std::vector<Poi>& pois, const std::vector<std::size_t>& indices,
                   const std::optional<std::string>& selected_id, const zarn_ui::theme::Theme& theme,
                   const MapPalette& palette, const Rect& marker_area) {
  const bool pictogram = camera.zoom >= kPictogramZoom;
  const bool label = camera.zoom >= kMarkerLabelZoom;
  scene.push_layer(marker_area, transform);
  for (const std::size_t i : indices) {
    if (i >= pois.size()) continue;
    const Poi& poi = pois[i];
    if (selected_id && poi.id == *selected_id) continue;
    const Point p = camera_project(camera, poi.pos.lat, poi.pos.lon);
    if (!marker_area.contains(p)) continue;
    paint_marker(scene, transform, text, poi, theme, palette, {false, label, pictogram}, marker_area, p);
  }
  if (selected_id) {
    const auto it = std::find_if(pois.begin(), pois.end(), [&](const Poi& poi) { return poi.id == *selected_id; });
    if (it != pois.end()) {
      const Point p = camera_project(camera, it->pos.lat, it->pos.lon);
      if (marker_area.contains(p)) {
        paint_marker(scene, transform, text, *it, theme, palette, {true, true, pictogram}, marker_area, p);
      }
    }
  }
  scene.pop_layer();
}

}  // namespace maps

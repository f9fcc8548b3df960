#include "map_layers/markers.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "draw_kit/category_glyph.hpp"
#include "draw_kit/layout_metrics.hpp"
#include "draw_kit/theme_colors.hpp"
#include "map_layers/pin.hpp"

namespace maps {

namespace {

// A press lands on a marker this far outside its disc.
constexpr double kMarkerPressReach = 6.0;

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

float label_size(bool selected) { return selected ? 12.0f : 11.0f; }

// A marker's name beside it: where the text starts and its backdrop.
struct LabelBox {
  Point at;
  Rect backdrop;
};

LabelBox label_box(const TextRenderer& text, const std::string& name, float size, Point p, double r) {
  const double w = measure_text(text, name, size);
  const Point at{p.x + r + 6.0, p.y - 0.72 * size};
  return {at, {at.x - 4.0, at.y - 1.0, at.x + w + 6.0, at.y + size + 3.0}};
}

// The label stays inside the marker area at the left, right and top; the bottom is left to the
// clip layer.
bool label_fits(const Rect& backdrop, const Rect& area) {
  return !(backdrop.x0 < area.x0 || backdrop.x1 > area.x1 || backdrop.y0 < area.y0);
}

void paint_label(Scene& scene, const Affine& transform, const TextRenderer& text, const std::string& name,
                 const zarn_ui::theme::Theme& theme, float size, const Rect& area, Point p, double r) {
  const LabelBox box = label_box(text, name, size, p, r);
  if (!label_fits(box.backdrop, area)) return;
  fill_rounded_rect(scene, transform, box.backdrop, theme.background.multiply_alpha(0.74f), 4.0);
  draw_label_weighted(scene, text, transform, name, theme.text, box.at.x, box.at.y, size, FontWeight::Medium);
}

bool overlaps(const Rect& a, const Rect& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

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

std::vector<std::size_t> poi_marker_layout(const Camera& camera, const std::vector<Poi>& pois,
                                           const std::optional<std::string>& selected_id) {
  const double spacing = camera.zoom >= kPictogramZoom ? 26.0 : 15.0;
  return declutter_points(camera, pois, selected_id, spacing);
}

const Place* place_marker_at(const Camera& camera, const std::vector<Place>& places,
                             const std::optional<std::string>& selected_id, Point p) {
  const Place* best = nullptr;
  double best_d = 0.0;
  for (const Place& place : places) {
    const PinSize pin = selected_id == place.id ? kSelectedPinSize : kPinSize;
    const Point at = camera_project(camera, place.pos.lat, place.pos.lon);
    const double d = std::hypot(p.x - at.x, p.y - (at.y - pin.height));
    if (!(d <= pin.reach)) continue;
    if (!best || d < best_d) {
      best = &place;
      best_d = d;
    }
  }
  return best;
}

const Poi* poi_marker_at(const Camera& camera, const std::vector<Poi>& pois,
                         const std::optional<std::string>& selected_id, Point p) {
  const bool large = camera.zoom >= kPictogramZoom;
  const Poi* best = nullptr;
  double best_d = 0.0;
  for (std::size_t i : poi_marker_layout(camera, pois, selected_id)) {
    const Poi& poi = pois[i];
    const double radius = marker_size(selected_id == poi.id, large).radius;
    const Point at = camera_project(camera, poi.pos.lat, poi.pos.lon);
    const double d = std::hypot(p.x - at.x, p.y - at.y);
    if (!(d <= radius + kMarkerPressReach)) continue;
    if (!best || d < best_d) {
      best = &poi;
      best_d = d;
    }
  }
  return best;
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
    paint_label(scene, transform, text, poi.name, theme, label_size(look.selected), marker_area, p, size.radius);
  }
}

void paint_markers(Scene& scene, const Affine& transform, const TextRenderer& text, const Camera& camera,
                   const std::vector<Poi>& pois, const std::vector<std::size_t>& indices,
                   const std::optional<std::string>& selected_id, const zarn_ui::theme::Theme& theme,
                   const MapPalette& palette, const Rect& marker_area) {
  const bool pictogram = camera.zoom >= kPictogramZoom;
  const bool label = camera.zoom >= kMarkerLabelZoom;
  // What is drawn, in drawing order: the kept markers, then the selected one above them.
  struct Drawn {
    std::size_t index;
    Point p;
    MarkerLook look;
  };
  std::vector<Drawn> drawn;
  for (const std::size_t i : indices) {
    if (i >= pois.size()) continue;
    const Poi& poi = pois[i];
    if (selected_id && poi.id == *selected_id) continue;
    const Point p = camera_project(camera, poi.pos.lat, poi.pos.lon);
    if (!marker_area.contains(p)) continue;
    drawn.push_back({i, p, {false, label, pictogram}});
  }
  if (selected_id) {
    const auto it = std::find_if(pois.begin(), pois.end(), [&](const Poi& poi) { return poi.id == *selected_id; });
    if (it != pois.end()) {
      const Point p = camera_project(camera, it->pos.lat, it->pos.lon);
      if (marker_area.contains(p)) {
        drawn.push_back({static_cast<std::size_t>(it - pois.begin()), p, {true, true, pictogram}});
      }
    }
  }
  // Names are placed in marker priority order (the selected one first); one that would overlap
  // a name already placed is left out, its marker stays.
  std::vector<std::size_t> order(drawn.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const PoiMarkerPriority priority(pois, selected_id);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return priority(drawn[a].index, drawn[b].index); });
  std::vector<Rect> placed;
  for (const std::size_t d : order) {
    Drawn& m = drawn[d];
    if (!m.look.label) continue;
    const float size = label_size(m.look.selected);
    const Rect backdrop =
        label_box(text, pois[m.index].name, size, m.p, marker_size(m.look.selected, m.look.pictogram).radius).backdrop;
    if (!label_fits(backdrop, marker_area)) continue;
    const bool crowded =
        std::any_of(placed.begin(), placed.end(), [&](const Rect& r) { return overlaps(r, backdrop); });
    if (crowded) {
      m.look.label = false;
    } else {
      placed.push_back(backdrop);
    }
  }
  scene.push_layer(marker_area, transform);
  for (const Drawn& m : drawn)
    paint_marker(scene, transform, text, pois[m.index], theme, palette, m.look, marker_area, m.p);
  scene.pop_layer();
}

}  // namespace maps

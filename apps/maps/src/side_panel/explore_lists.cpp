#include "side_panel/explore_lists.hpp"

#include <string>
#include <vector>

#include "draw_kit/palette.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "fmt/format.h"
#include "format/units.hpp"
#include "geo/geo.hpp"
#include "model/place_ops.hpp"
#include "search/categories.hpp"
#include "search/nearby.hpp"
#include "search/ranking.hpp"
#include "side_panel/nearby_row.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

constexpr double kRowPitch = 56.0;
constexpr double kRowHeight = 48.0;
constexpr double kSectionGap = 8.0;

void paint_heading(const ListPaint& p, std::string_view heading, double y) {
  draw_label_weighted(p.scene, p.text, p.transform, heading, p.theme.text_secondary, p.list.left, y, 11.0f,
                      FontWeight::Semibold);
}

double paint_empty_state(const ListPaint& p, double y) {
  Scene& scene = p.scene;
  const Affine& transform = p.transform;
  const TextRenderer& text = p.text;
  const Theme& theme = p.theme;
  const ListArea& list = p.list;
  draw_label_weighted(scene, text, transform, "Find your way", theme.text, list.left, y, 16.0f, FontWeight::Bold);
  draw_label(scene, text, transform, "Search for a place or address", theme.text_secondary, list.left, y + 28.0, 13.0f);
  draw_label(scene, text, transform, "to route and plan transit.", theme.text_secondary, list.left, y + 46.0, 13.0f);
  return y + 78.0;
}

// The selected place's card: name, category, address and its three buttons.
double paint_place_card(const ListPaint& p, const Place& place, double y) {
  Scene& scene = p.scene;
  const Affine& transform = p.transform;
  const TextRenderer& text = p.text;
  const Theme& theme = p.theme;
  const ListArea& list = p.list;
  const double left = list.left, right = list.right, w = list.width();
  fill_rounded_rect(scene, transform, {left, y, right, y + 132.0}, theme.background, 12.0);
  fill_rounded_rect(scene, transform, {left, y, left + 5.0, y + 132.0}, theme.accent, 12.0);
  draw_text_ellipsized_weighted(scene, text, transform, place.name, theme.text, left + 16.0, y + 12.0, 18.0f,
                                FontWeight::Bold, w - 28.0);
  draw_label(scene, text, transform, search::category_label(place.category), theme.accent, left + 16.0, y + 38.0,
             12.0f);
  draw_text_ellipsized(scene, text, transform, place.address, theme.text_secondary, left + 16.0, y + 58.0, 12.0f,
                       w - 28.0);

  // Three buttons between the card's text margins, 4 px apart.
  const double bw = (w - 32.0 - 8.0) / 3.0;
  struct Button {
    std::string_view label;
    UiMessage message;
  };
  const Button buttons[] = {
      {"Directions", UiMessage{msg::Directions{}}},
      {"Transit", UiMessage{msg::TransitDirections{}}},
      {place.saved ? "Saved \u2713" : "Save", UiMessage{msg::ToggleSaved{}}},
  };
  for (int i = 0; i < 3; ++i) {
    const double x0 = left + 16.0 + i * (bw + 4.0);
    const Rect r{x0, y + 86.0, x0 + bw, y + 120.0};
    Color label = theme.text;
    if (i == 0) {
      fill_rounded_rect(scene, transform, r, theme.accent, 8.0);
      label = label_on(theme.accent);
    } else {
      const bool saved = i == 2 && place.saved;
      fill_rounded_rect(scene, transform, r, saved ? theme.accent.multiply_alpha(0.18f) : theme.surface, 8.0);
      stroke_rounded_rect(scene, transform, r, theme.border, 8.0, 1.0);
      if (saved) label = readable_on(theme.accent, composite(theme.accent.multiply_alpha(0.18f), theme.background));
    }
    draw_text_centered(scene, text, transform, buttons[i].label, label, r.x0, r.x1, y + 95.5, 12.0f);
    add_list_target(p.hits, list, r, buttons[i].message);
  }
  return y + 146.0;
}

double paint_recent_searches(const ListPaint& p, double y) {
  Scene& scene = p.scene;
  const Affine& transform = p.transform;
  const TextRenderer& text = p.text;
  const Theme& theme = p.theme;
  const ListArea& list = p.list;
  const double left = list.left, right = list.right;
  paint_heading(p, "RECENT SEARCHES", y);
  draw_text_right(scene, text, transform, "Clear", theme.accent, right, y, 11.0f);
  const double clear_w = measure_text(text, "Clear", 11.0f);
  add_list_target(p.hits, list, {right - clear_w - 12.0, y - 5.0, right, y + 15.0}, UiMessage{msg::ClearRecents{}});
  y += 20.0;
  for (const std::string& t : p.in.model.recents) {
    stroke_circle(scene, transform, theme.text_secondary, left + 11.0, y + 15.0, 5.0, 1.5);
    // A long search (a pasted page) ends in "…" at the row's edge.
    draw_text_ellipsized(scene, text, transform, t, theme.text, left + 26.0, y + 7.5, 12.0f,
                         right - (left + 26.0) - 4.0);
    add_list_target(p.hits, list, {left, y, right, y + 30.0}, UiMessage{msg::SearchAgain{t}});
    y += 32.0;
  }
  return y;
}

}  // namespace

double paint_result_row(const ListPaint& p, const Place& place, double y) {
  Scene& scene = p.scene;
  const Affine& transform = p.transform;
  const TextRenderer& text = p.text;
  const Theme& theme = p.theme;
  const ListArea& list = p.list;
  const MapModel& model = p.in.model;
  const double left = list.left, right = list.right, w = list.width();
  // A row scrolled out of view only takes its room: a long list costs what it shows.
  if (!visible_part(list, {left, y, right, y + kRowHeight})) return y + kRowPitch;
  if (model.selected == place.id) {
    fill_rounded_rect(scene, transform, {left, y, right, y + kRowHeight}, theme.accent.multiply_alpha(0.14f), 8.0);
  }
  fill_circle(scene, transform, mix_color(theme.accent, theme.background, 0.78f), left + 18.0, y + 24.0, 9.0);
  fill_circle(scene, transform, theme.accent, left + 18.0, y + 24.0, 3.2);
  const double room = w - 36.0 - 50.0;
  draw_text_ellipsized(scene, text, transform, place.name, theme.text, left + 36.0, y + 6.0, 13.0f, room);
  const std::string subtitle = fmt::format("{} \u00b7 {}", search::category_label(place.category), place.address);
  draw_text_ellipsized(scene, text, transform, subtitle, theme.text_secondary, left + 36.0, y + 24.0, 11.0f, room);
  // A result is a copy made when the search answered; whether it is saved is the stored place's.
  const std::optional<Place> stored = find_place(model, place.id);
  if (stored ? stored->saved : place.saved) {
    const Color row =
        model.selected == place.id ? composite(theme.accent.multiply_alpha(0.14f), theme.surface) : theme.surface;
    draw_text_right(scene, text, transform, "\u2665", readable_on(theme.danger, row), right - 8.0, y + 24.0, 12.0f);
  }
  add_list_target(p.hits, list, {left, y, right, y + kRowHeight}, UiMessage{msg::OpenPlace{place.id}});
  return y + kRowPitch;
}

double paint_explore_lists(const ListPaint& p, double y) {
  const MapModel& m = p.in.model;
  const std::optional<Place> selected = selected_place(m);
  std::vector<const Place*> saved;
  for (const Place& place : m.places) {
    if (place.saved) saved.push_back(&place);
  }
  if (!selected && m.results.empty() && saved.empty() && m.recents.empty() && p.in.view_pois.empty()) {
    return paint_empty_state(p, y);
  }

  if (selected) y = paint_place_card(p, *selected, y);
  if (!m.results.empty()) {
    paint_heading(p, "RESULTS", y);
    y += 20.0;
    for (const Place& place : m.results) y = paint_result_row(p, place, y);
    y += kSectionGap;
  }
  const LatLon reference = search::origin_or_centre(m.origin, m.center);
  const std::vector<Poi> nearby = search::nearby_pois(p.in.view_pois, reference, p.in.selected_poi);
  if (!nearby.empty()) {
    paint_heading(p, "NEARBY", y);
    y += 20.0;
    for (const Poi& poi : nearby) {
      paint_nearby_row(p, poi, reference, y);
      y += kRowPitch;
    }
    y += kSectionGap;
  }
  if (!saved.empty()) {
    paint_heading(p, "SAVED", y);
    y += 20.0;
    for (const Place* place : saved) y = paint_result_row(p, *place, y);
    y += kSectionGap;
  }
  if (!m.recents.empty()) y = paint_recent_searches(p, y);
  return y;
}

}  // namespace maps

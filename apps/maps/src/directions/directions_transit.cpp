// The public-transport journeys in the directions panel: one card per journey with its legs, the
// chosen journey's legs in detail, and the data credit.

#include <algorithm>
#include <string_view>

#include "base/text.hpp"
#include "directions/directions_plan.hpp"
#include "draw_kit/palette.hpp"
#include "draw_kit/text_fit.hpp"
#include "draw_kit/theme_colors.hpp"
#include "fmt/format.h"
#include "format/labels.hpp"
#include "model/place_ops.hpp"

namespace maps {
namespace {

using zarn_ui::theme::Theme;

std::uint32_t walk_minutes(const TransitLeg& leg) { return std::max<std::uint32_t>(leg.duration_min, 1); }

std::string header_destination(const MapModel& model) {
  if (!model.dest_name.empty()) return model.dest_name;
  if (auto place = selected_place(model)) return place->name;
  return "destination";
}

// The chips of one journey's legs, stopping once the row is full.
void paint_leg_chips(Scene& scene, const Affine& transform, const TextRenderer& text, const Theme& theme,
                     const ListArea& list, const TransitJourney& journey, double c) {
  double x = list.left + 12.0;
  for (std::size_t i = 0; i < journey.legs.size(); ++i) {
    const TransitLeg& leg = journey.legs[i];
    if (i > 0) {
      draw_label(scene, text, transform, "\u203a", theme.text_secondary, x, c + 40.0, 13.0f);
      x += 14.0;
    }
    if (leg.mode == TransitMode::Walk) {
      const std::string walk = fmt::format("walk {}m", walk_minutes(leg));
      draw_label(scene, text, transform, walk, theme.text_secondary, x, c + 41.0, 11.0f);
      x += measure_text(text, walk, 11.0f) + 10.0;
    } else {
      const std::string label = leg.line.empty() ? std::string(transit_mode_label(leg.mode)) : leg.line;
      const double w = measure_text(text, label, 12.0f);
      const Rect chip{x, c + 38.0, x + w + 16.0, c + 60.0};
      const Color fill = transit_leg_color(theme, leg);
      fill_rounded_rect(scene, transform, chip, fill, 6.0);
      // The line's own text colour where it reads on the chip, else white or black by contrast.
      const std::optional<Color> given = leg.text_color ? parse_hex_color(*leg.text_color) : std::nullopt;
      const Color ink = given && zarn_ui::theme::contrast_ratio(*given, fill) >= 4.5 ? *given : label_on(fill);
      draw_text_centered(scene, text, transform, label, ink, chip.x0, chip.x1, c + 41.5, 12.0f);
      x += w + 22.0;
    }
    if (x > list.right - 40.0) break;
  }
}

// The legs of the chosen journey, one 38 px row each; returns the y below them.
double paint_leg_details(Scene& scene, const Affine& transform, const TextRenderer& text, const Theme& theme,
                         const ListArea& list, const TransitJourney& journey, std::string_view destination, double e) {
  const double left = list.left, right = list.right, w = list.width();
  for (const TransitLeg& leg : journey.legs) {
    // A walk the planner leaves unnamed ends at the journey's destination when it is the last leg.
    const bool last = &leg == &journey.legs.back();
    const std::string_view walk_to = !leg.to_name.empty() ? std::string_view(leg.to_name)
                                     : last               ? destination
                                                          : std::string_view();
    const Color colour = transit_leg_color(theme, leg);
    stroke_line(scene, transform, colour, left + 18.0, e + 4.0, left + 18.0, e + 36.0, 3.0);
    fill_circle(scene, transform, colour, left + 18.0, e + 8.0, 4.0);
    const std::string title = leg.line.empty()
                                  ? fmt::format("Walk \u00b7 {} min", walk_minutes(leg))
                                  : std::string(base::trim_white_space(
                                        fmt::format("{} {} {}", transit_mode_label(leg.mode), leg.line, leg.headsign)));
    // A live leg keeps room for its marker, which follows the title as drawn, so neither the
    // marker nor a shortened title runs into the times at the right.
    const double live_w = leg.realtime ? 17.0 + measure_text(text, "live", 10.0f) : 0.0;
    const std::string shown = ellipsize_text(text, title, 12.0f, w - 120.0 - live_w);
    draw_text_ellipsized(scene, text, transform, shown, theme.text, left + 32.0, e, 12.0f, w - 120.0 - live_w);
    if (leg.realtime) {
      const double tw = measure_text(text, shown, 12.0f);
      fill_circle(scene, transform, theme.success, left + 32.0 + tw + 11.0, e + 7.0, 3.0);
      draw_label(scene, text, transform, "live", readable_on(theme.success, theme.surface), left + 32.0 + tw + 17.0,
                 e + 1.0, 10.0f);
    }
    const std::string subtitle = leg.line.empty() ? (walk_to.empty() ? std::string() : fmt::format("to {}", walk_to))
                                                  : fmt::format("{} \u2192 alight {} \u00b7 {}", leg.from_name,
                                                                leg.to_name, counted(leg.num_stops, "stop", "stops"));
    draw_text_ellipsized(scene, text, transform, subtitle, theme.text_secondary, left + 32.0, e + 16.0, 11.0f,
                         w - 90.0);
    draw_text_right(scene, text, transform, fmt::format("{}\u2013{}", leg.dep, leg.arr), theme.text_secondary,
                    right - 8.0, e + 4.0, 11.0f);
    e += 38.0;
  }
  return e + 6.0;
}

double paint_journey_card(const MapModel& model, std::vector<HitTarget>& targets, Scene& scene, const Affine& transform,
                          const TextRenderer& text, const Theme& theme, const ListArea& list,
                          const TransitJourney& journey, std::uint64_t i, double c) {
  const double left = list.left, right = list.right;
  const Rect card{left, c, right, c + 86.0};
  const bool chosen = i == model.transit_choice;
  if (chosen) {
    fill_rounded_rect(scene, transform, card, theme.accent.multiply_alpha(0.12f), 10.0);
    stroke_rounded_rect(scene, transform, card, theme.accent, 10.0, 1.5);
  } else {
    fill_rounded_rect(scene, transform, card, theme.background, 10.0);
  }
  draw_label_weighted(scene, text, transform, fmt::format("{} \u2013 {}", journey.dep, journey.arr), theme.text,
                      left + 12.0, c + 10.0, 15.0f, FontWeight::Bold);
  const Color card_fill = chosen ? composite(theme.accent.multiply_alpha(0.12f), theme.surface) : theme.background;
  draw_text_right(scene, text, transform, fmt::format("{} min", journey.duration_min),
                  readable_on(theme.accent, card_fill), right - 12.0, c + 10.0, 14.0f);
  draw_text_right(scene, text, transform, transfers_text(journey.transfers), theme.text_secondary, right - 12.0,
                  c + 30.0, 11.0f);
  paint_leg_chips(scene, transform, text, theme, list, journey, c);
  add_list_target(targets, list, card, UiMessage{msg::ChooseJourney{i}});
  c += 96.0;
  if (chosen) c = paint_leg_details(scene, transform, text, theme, list, journey, header_destination(model), c);
  return c;
}

// What stands in the place of journeys that are not there.
std::string no_journeys_text(const DirectionsInputs& in) {
  const PlanRequest& asked = in.plan;
  if (!in.model.dest && !selected_place(in.model)) return "Choose a destination to see departures.";
  if (!in.model.origin) return "Choose a starting point to see departures.";
  if (in.journeys_awaited) return "Finding departures\u2026";
  // A failed lookup is told as such, in the words of its status, not as an empty answer.
  if (asked.outcome == PlanOutcome::Unavailable && asked.mode == TravelMode::Transit && !asked.failure.empty()) {
    return asked.failure;
  }
  return "No public-transport itineraries found.";
}

}  // namespace

std::string transfers_text(std::uint32_t transfers) {
  if (transfers == 0) return "direct";
  return counted(transfers, "change", "changes");
}

std::string transit_credit(const std::vector<TransitJourney>& journeys) {
  std::string agency;
  bool live = false;
  for (const TransitJourney& j : journeys) {
    for (const TransitLeg& leg : j.legs) {
      if (agency.empty() && !leg.agency.empty()) agency = leg.agency;
      live = live || leg.realtime;
    }
  }
  const char* times = live ? "Live times" : "Scheduled times";
  if (agency.empty()) return fmt::format("{} \u00b7 via Transitous (MOTIS)", times);
  return fmt::format("{} \u00b7 via Transitous (MOTIS) \u00b7 {}", times, agency);
}

double paint_transit_plan(const DirectionsInputs& in, std::vector<HitTarget>& targets, Scene& scene,
                          const Affine& transform, const TextRenderer& text, const Theme& theme, const ListArea& list,
                          double r) {
  const double left = list.left, right = list.right;
  draw_text_ellipsized_weighted(scene, text, transform, fmt::format("Departures to {}", header_destination(in.model)),
                                theme.text, left, r, 14.0f, FontWeight::Semibold, right - left);
  r += 26.0;
  if (in.model.transit.empty()) {
    draw_text_ellipsized(scene, text, transform, no_journeys_text(in), theme.text_secondary, left, r, 13.0f,
                         list.width());
    return r + 24.0;
  }
  const std::vector<TransitJourney> journeys = in.model.transit;
  double c = r;
  for (std::size_t i = 0; i < journeys.size(); ++i) {
    c = paint_journey_card(in.model, targets, scene, transform, text, theme, list, journeys[i], i, c);
  }
  stroke_line(scene, transform, theme.border, left, c, right, c, 1.0);
  draw_text_ellipsized(scene, text, transform, transit_credit(journeys), theme.text_secondary, left, c + 10.0, 10.0f,
                       list.width());
  return c + 28.0;
}

}  // namespace maps

#pragma once
// What the directions panel lists below its controls: the road route with its times and steps,
// or the public-transport journeys with their legs.

#include <optional>
#include <string>
#include <vector>

#include "directions/directions_panel.hpp"
#include "draw_kit/list_area.hpp"
#include "draw_kit/primitives.hpp"
#include "model/records.hpp"
#include "zarn_ui/theme.hpp"

namespace maps {

// Each paints from top y, its press areas going to `targets`, and returns the y below what it painted.
double paint_road_route(const DirectionsInputs& in, std::vector<HitTarget>& targets, Scene& scene,
                        const Affine& transform, const TextRenderer& text, const zarn_ui::theme::Theme& theme,
                        const ListArea& list, double y);
double paint_transit_plan(const DirectionsInputs& in, std::vector<HitTarget>& targets, Scene& scene,
                          const Affine& transform, const TextRenderer& text, const zarn_ui::theme::Theme& theme,
                          const ListArea& list, double y);

// The leave and arrive texts of a route of `duration_s` seconds for the journey time, from the
// clock's `now`; none when the times cannot be told (a duration that is not a number or lies
// beyond any clock).
struct RouteTimes {
  std::string leave;
  std::string arrive;
};
std::optional<RouteTimes> route_times(const LocalDateTime& now, const TransitTime& time, double duration_s);

// "direct", "1 change", "{n} changes".
std::string transfers_text(std::uint32_t transfers);
// The credit under the journeys: live or scheduled times, the planner and the first agency named.
std::string transit_credit(const std::vector<TransitJourney>& journeys);

}  // namespace maps

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include <fmt/format.h>

#include "geo/geo.hpp"
#include "sample/sample_data.hpp"
#include "sample/sample_grid.hpp"

namespace maps {

namespace {

// Far beyond any sample leg; keeps a huge or infinite span from running away.
constexpr double kMaxIntegerSteps = 65536.0;

constexpr double kSampleRouteSpeedMPerH = 32000.0;

struct LineLeg {
  TransitMode mode;
  const char* line;
  const char* headsign;
  const char* from_name;
  const char* to_name;
  std::int64_t dep;
  std::int64_t arr;
  std::uint32_t duration_min;
  std::uint32_t num_stops;
  double from_gx, from_gy, to_gx, to_gy;
  const char* color;
  const char* text_color;
  const char* agency;
  bool realtime;
};

TransitLeg line_leg(const LineLeg& l) {
  TransitLeg leg;
  leg.mode = l.mode;
  leg.line = l.line;
  leg.headsign = l.headsign;
  leg.from_name = l.from_name;
  leg.to_name = l.to_name;
  leg.dep = sample_clock_text(l.dep);
  leg.arr = sample_clock_text(l.arr);
  leg.duration_min = l.duration_min;
  leg.num_stops = l.num_stops;
  leg.geometry = sample_leg_geometry(l.from_gx, l.from_gy, l.to_gx, l.to_gy);
  leg.color = l.color;
  leg.text_color = l.text_color;
  leg.agency = l.agency;
  leg.realtime = l.realtime;
  return leg;
}

TransitLeg walk_leg(const char* from_name, const char* to_name, std::int64_t dep, std::int64_t arr,
                    std::uint32_t duration_min, double gx0, double gy0, double gx1, double gy1) {
  return sample_transit_leg(from_name, to_name, dep, arr, duration_min, sample_leg_geometry(gx0, gy0, gx1, gy1));
}

// Every journey ends with the same short walk across the square.
TransitLeg final_walk(std::int64_t dep, std::int64_t arr) {
  return walk_leg("Marienplatz", "Marienplatz", dep, arr, 2, 0, 0, 0.2, -0.2);
}

TransitJourney journey(std::int64_t dep, std::int64_t arr, std::uint32_t duration_min, std::uint32_t transfers,
                       std::vector<TransitLeg> legs) {
  return {sample_clock_text(dep), sample_clock_text(arr), duration_min, transfers, std::move(legs)};
}

}  // namespace

std::string sample_clock_text(std::int64_t minutes) {
  // Saturate rather than overflow for absurd inputs.
  constexpr std::int64_t kNine = 9 * 60;
  const std::int64_t total = minutes > std::numeric_limits<std::int64_t>::max() - kNine
                                 ? std::numeric_limits<std::int64_t>::max()
                                 : minutes + kNine;
  return fmt::format("{:02}:{:02}", total / 60, total % 60);
}

std::vector<double> integer_steps_between(double a, double b) {
  std::vector<double> out;
  if (!std::isfinite(a) || !std::isfinite(b)) return out;
  const double span = std::fabs(b - a);
  if (span < 1e-9) return out;
  const double bound = std::fmin(std::ceil(span) + 2.0, kMaxIntegerSteps);
  double taken = 0.0;
  if (b > a) {
    for (double k = std::floor(a) + 1.0; k < b - 1e-9 && taken < bound; k += 1.0, taken += 1.0) out.push_back(k);
  } else {
    for (double k = std::ceil(a) - 1.0; k > b + 1e-9 && taken < bound; k -= 1.0, taken += 1.0) out.push_back(k);
  }
  out.push_back(b);
  return out;
}

std::vector<LatLon> sample_leg_geometry(double gx0, double gy0, double gx1, double gy1) {
  std::vector<LatLon> points{sample_grid_point(gx0, gy0)};
  for (double x : integer_steps_between(gx0, gx1)) points.push_back(sample_grid_point(x, gy0));
  for (double y : integer_steps_between(gy0, gy1)) points.push_back(sample_grid_point(gx1, y));
  return points;
}

TransitLeg sample_transit_leg(std::string_view from_name, std::string_view to_name, std::int64_t dep_minutes,
                              std::int64_t arr_minutes, std::uint32_t duration_min, std::vector<LatLon> geometry) {
  TransitLeg leg;
  leg.mode = TransitMode::Walk;
  leg.from_name = std::string(from_name);
  leg.to_name = std::string(to_name);
  leg.dep = sample_clock_text(dep_minutes);
  leg.arr = sample_clock_text(arr_minutes);
  leg.duration_min = duration_min;
  leg.geometry = std::move(geometry);
  return leg;
}

Route sample_route_steps() {
  Route route;
  route.mode = TravelMode::Car;
  // East along Lindwurmstraße's latitude, then north to the square.
  for (int j = 0; j < 7; ++j) {
    const double k = -6.5 + j;
    route.geometry.push_back({48.1227, kSampleGridLon + k * kSampleGridLonStep});
  }
  route.geometry.push_back({48.1227, 11.5754});
  for (int j = -6; j <= 0; ++j) {
    const double k = j;
    route.geometry.push_back({kSampleGridLat + k * kSampleGridLatStep, 11.5754});
  }
  route.geometry.push_back({48.1371, 11.5754});
  route.from = {48.1227, 11.552};
  route.to = {48.1371, 11.5754};
  route.distance_m = polyline_length_m(route.geometry);
  route.duration_s = route.distance_m / (kSampleRouteSpeedMPerH / 3600.0);
  route.steps = {
      {"Head east on Lindwurmstraße", 240, Maneuver::Depart},
      {"Continue onto Pettenkoferstraße", 1320, Maneuver::Continue},
      {"Turn left onto Sendlinger Straße", 80, Maneuver::Left},
      {"Continue north toward the Altstadt", 1180, Maneuver::Continue},
      {"Slight right into the pedestrian zone", 90, Maneuver::SlightRight},
      {"Arrive at Marienplatz", 0, Maneuver::Arrive},
  };
  return route;
}

std::vector<TransitJourney> sample_transit_journeys() {
  std::vector<TransitJourney> out;
  out.push_back(journey(12, 26, 14, 0,
                        {walk_leg("Your location", "Goetheplatz", 12, 16, 4, -6.5, -6, -5, -5),
                         line_leg({TransitMode::Subway, "U3", "→ Moosach", "Goetheplatz", "Marienplatz", 17, 23, 6, 3,
                                   -5, -5, 0, 0, "eb690b", "ffffff", "MVG", true}),
                         final_walk(24, 26)}));
  out.push_back(journey(8, 27, 19, 1,
                        {walk_leg("Your location", "Sendlinger Tor", 8, 11, 3, -6.5, -6, -4, -4),
                         line_leg({TransitMode::Tram, "17", "→ Schwanseestraße", "Sendlinger Tor", "Reichenbachplatz",
                                   12, 16, 4, 2, -4, -4, -2, -1.5, "e30613", "ffffff", "MVG", true}),
                         line_leg({TransitMode::Bus, "52", "→ Tierpark", "Reichenbachplatz", "Marienplatz", 19, 25, 6,
                                   3, -2, -1.5, 0, 0, "005e82", "ffffff", "MVG", false}),
                         final_walk(25, 27)}));
  out.push_back(journey(5, 29, 24, 1,
                        {walk_leg("Your location", "Poccistraße", 5, 10, 5, -6.5, -6, -6, -4.5),
                         line_leg({TransitMode::Subway, "U3/U6", "→ Garching", "Poccistraße", "Odeonsplatz", 13, 21, 8,
                                   4, -6, -4.5, 1.5, 5, "0065ae", "ffffff", "MVG", true}),
                         line_leg({TransitMode::Rail, "S1", "→ Ostbahnhof", "Odeonsplatz", "Marienplatz", 24, 27, 3, 1,
                                   1.5, 5, 0, 0, "16bae7", "ffffff", "DB Regio AG S-Bahn München", true}),
                         final_walk(27, 29)}));
  return out;
}

}  // namespace maps

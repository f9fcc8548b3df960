#pragma once
// The built-in sample data of one city: places, a model built around them with a road route and
// three journeys, points of interest, offline regions and area-search answers. No network, clock
// or document is touched; every call builds fresh copies.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.hpp"

namespace maps {

std::vector<Place> sample_places();
MapModel sample_map_model();
std::vector<Poi> sample_pois();
std::vector<DownloadedRegion> sample_regions();
std::vector<AreaCandidate> sample_offline_places();

// The demonstration route from Sendling to Marienplatz by car, timed at 32 km/h.
Route sample_route_steps();
std::vector<TransitJourney> sample_transit_journeys();

// 09:00 plus `minutes` as "HH:MM"; hours are not wrapped at 24.
std::string sample_clock_text(std::int64_t minutes);

// The whole numbers strictly between a and b in the direction of travel, then b; empty when a
// and b are (almost) equal.
std::vector<double> integer_steps_between(double a, double b);

// An L-shaped path on the sample grid: east-west first, then north-south.
std::vector<LatLon> sample_leg_geometry(double gx0, double gy0, double gx1, double gy1);

// A walking leg: no line, stops, colours or agency, not realtime.
TransitLeg sample_transit_leg(std::string_view from_name, std::string_view to_name, std::int64_t dep_minutes,
                              std::int64_t arr_minutes, std::uint32_t duration_min, std::vector<LatLon> geometry);

// A point of interest at a grid point with nothing but its id, name and category.
Poi sample_poi(std::string_view id, std::string_view name, Category category, double gx, double gy);

// The categories the sample results show: Landmark, Cafe, Museum, Shop.
bool sample_results_filter(const Place& place);

}  // namespace maps

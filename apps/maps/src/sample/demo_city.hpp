#pragma once
// The demonstration city: river, parks, a pond, blocks and streets on the sample grid, generated
// from a fixed seed so that every run draws the same map.

#include <vector>

#include "model/vector_map.hpp"
#include "sample/city_random.hpp"

namespace maps {

// A ring of n points around the centre with radii jittered between 0.78 and 1.18 of rx, ry
// (grid units); draws n times.
std::vector<LatLon> blob_polygon(CityRandom& rng, int n, double center_lat, double center_lon, double rx, double ry);

// The straight east-west avenue (gx, 0) for gx = first..last.
std::vector<LatLon> sample_street_east(int first_gx, int last_gx);
// The straight north-south avenue (0, gy) for gy = first..last.
std::vector<LatLon> sample_street_north(int first_gy, int last_gy);
// The diagonal street's i-th point, (0.8 i - 3, i).
LatLon sample_point(int i);

VectorMap demo_city_geometry();

}  // namespace maps

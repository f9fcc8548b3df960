#pragma once
// A box of latitudes and longitudes.

namespace maps {

// Min lat, min lon, max lat, max lon.
struct GeoBox {
  double min_lat = 0.0;
  double min_lon = 0.0;
  double max_lat = 0.0;
  double max_lon = 0.0;
  bool operator==(const GeoBox&) const = default;
};

}  // namespace maps

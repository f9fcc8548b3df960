#pragma once
// Small builders for places and points of interest around a fixed centre.

#include <optional>
#include <string>

#include "geo/geo.hpp"
#include "model/records.hpp"

namespace maps::search::testing {

inline constexpr LatLon kCentre{48.1374, 11.5755};

// The point `metres` due north of `from` (exact for the great-circle distance along a meridian).
inline LatLon north_of(LatLon from, double metres) {
  return {from.lat + metres / (kEarthDiameterM / 2.0) * kRadToDeg, from.lon};
}

inline Place place(std::string id, std::string name, double metres_north = 0.0, Category category = Category::Other,
                   std::string address = "") {
  return Place{std::move(id), std::move(name), category, std::move(address), north_of(kCentre, metres_north), false};
}

inline Poi poi(std::string id, std::string name, double metres_north = 0.0, Category category = Category::Other,
               std::optional<std::string> kind = std::nullopt, std::string address = "") {
  Poi p;
  p.id = std::move(id);
  p.name = std::move(name);
  p.address = std::move(address);
  p.kind = std::move(kind);
  p.pos = north_of(kCentre, metres_north);
  p.category = category;
  return p;
}

}  // namespace maps::search::testing

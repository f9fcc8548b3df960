#pragma once
// Small records with every kind of member set, shared by the JSON tests.

#include "model/records.hpp"

namespace maps::testing {

inline Place cafe() { return Place{"cafe-1", "Café \"Mond\"", Category::Cafe, "Am Markt 1", {48.1, 11.5}, true}; }

inline Route short_route() {
  return Route{TravelMode::Bike,
               1234.5,
               300.25,
               {{48.1, 11.5}, {48.2, 11.6}},
               {{"Head north", 100.0, Maneuver::Depart}, {"Arrive", 0.0, Maneuver::Arrive}},
               {48.1, 11.5},
               {48.2, 11.6}};
}

inline TransitLeg tram_leg() {
  return TransitLeg{TransitMode::Tram, "19",         "Pasing", "Stachus", "Hauptbahnhof",
                    "09:05",           "09:09",      4u,       2u,        {{48.139, 11.566}, {48.140, 11.558}},
                    "e30613",          std::nullopt, "MVG",    true};
}

inline TransitJourney journey() {
  TransitLeg walk{TransitMode::Walk, "",           "", "Start", "Stachus", "09:00", "09:05", 5u, 0u, {},
                  std::nullopt,      std::nullopt, "", false};
  return TransitJourney{"09:00", "09:09", 9u, 0u, {walk, tram_leg()}};
}

inline DownloadedRegion region() {
  return DownloadedRegion{"region-demo-1", "Altstadt", {48.13, 11.56}, {48.15, 11.59}, 12, 16, 420};
}

}  // namespace maps::testing

#pragma once
// Small records and document helpers shared by the document tests.

#include <string>
#include <vector>

#include "automerge/automerge.hpp"
#include "doc/primitives.hpp"
#include "doc/schema_keys.hpp"
#include "model/records.hpp"

namespace maps::doc::testing {

inline Place place(std::string id, std::string name, bool saved = false) {
  return Place{std::move(id), std::move(name), Category::Cafe, "Main St 1", LatLon{48.1, 11.5}, saved};
}

inline Route route(TravelMode mode = TravelMode::Car) {
  Route r;
  r.mode = mode;
  r.distance_m = 1234.5;
  r.duration_s = 300.25;
  r.geometry = {{48.1, 11.5}, {48.2, 11.6}, {48.3, 11.7}};
  r.steps = {{"Head north", 100.0, Maneuver::Depart},
             {"Turn left", 200.0, Maneuver::SlightLeft},
             {"Arrive", 0.0, Maneuver::Arrive}};
  r.from = {48.1, 11.5};
  r.to = {48.3, 11.7};
  return r;
}

inline TransitJourney journey(std::string dep = "09:05") {
  TransitLeg walk;
  walk.mode = TransitMode::Walk;
  walk.from_name = "Home";
  walk.to_name = "Stop";
  walk.dep = dep;
  walk.arr = "09:10";
  walk.duration_min = 5;
  walk.geometry = {{48.1, 11.5}, {48.11, 11.51}};
  TransitLeg tram;
  tram.mode = TransitMode::Tram;
  tram.line = "19";
  tram.headsign = "Pasing";
  tram.from_name = "Stop";
  tram.to_name = "Centre";
  tram.dep = "09:10";
  tram.arr = "09:25";
  tram.duration_min = 15;
  tram.num_stops = 6;
  tram.color = "#ff0000";
  tram.text_color = "#ffffff";
  tram.agency = "MVG";
  tram.realtime = true;
  return TransitJourney{std::move(dep), "09:25", 20, 0, {walk, tram}};
}

inline DownloadedRegion region(std::string id, std::string name = "Centre") {
  return DownloadedRegion{std::move(id), std::move(name), {48.0, 11.4}, {48.2, 11.7}, 10, 14, 420};
}

inline MapModel model_with_everything() {
  MapModel m;
  m.places = {place("a", "Alpha", true), place("b", "Beta")};
  m.recents = {"museum", "cafe"};
  m.route = route();
  m.transit = {journey(), journey("09:20")};
  m.mode = TravelMode::Car;
  m.origin = LatLon{48.1, 11.5};
  m.origin_name = "Home";
  m.dest = LatLon{48.3, 11.7};
  m.dest_name = "Work";
  m.transit_time = {TransitTimeMode::Arrive, 45};
  m.regions = {region("r1"), region("r2", "West")};
  return m;
}

// The persisted fields of a model, with every other field at its default.
inline MapModel persisted_part(const MapModel& m) {
  MapModel out;
  out.places = m.places;
  out.recents = m.recents;
  out.route = m.route;
  out.transit = m.transit;
  out.origin = m.origin;
  out.mode = m.mode;
  out.origin_name = m.origin_name;
  out.dest = m.dest;
  out.dest_name = m.dest_name;
  out.transit_time = m.transit_time;
  out.regions = m.regions;
  return out;
}

inline automerge::ExId root_of(automerge::AutoCommit& doc) { return *maps_root(doc); }

inline automerge::ExId child_map(automerge::AutoCommit& doc, const automerge::ExId& obj, std::string_view key) {
  return *get_map(doc, obj, key);
}

}  // namespace maps::doc::testing

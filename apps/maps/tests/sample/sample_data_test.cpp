#include "sample/sample_data.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geo/geo.hpp"
#include "sample/sample_grid.hpp"

namespace maps {
namespace {

TEST(IntegerStepsBetween, Table) {
  const struct {
    double a, b;
    std::vector<double> steps;
  } cases[] = {
      {-6.5, -5, {-6, -5}},   {0, 0.2, {0.2}},        {0, -0.2, {-0.2}},        {1, 1, {}},        {1, 1 + 1e-10, {}},
      {-6, -4.5, {-5, -4.5}}, {1.5, 5, {2, 3, 4, 5}}, {5, 1.5, {4, 3, 2, 1.5}}, {0, -2, {-1, -2}}, {-2, 0, {-1, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(integer_steps_between(c.a, c.b), c.steps) << c.a << " -> " << c.b;
}

TEST(IntegerStepsBetween, HugeOrNonFiniteSpansStayBounded) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(integer_steps_between(0, inf).empty());
  EXPECT_TRUE(integer_steps_between(std::nan(""), 1).empty());
  const auto steps = integer_steps_between(0, 1e12);
  EXPECT_LE(steps.size(), 65537u);
  EXPECT_EQ(steps.back(), 1e12);
}

TEST(SampleClockText, Table) {
  const struct {
    std::int64_t minutes;
    const char* text;
  } cases[] = {{0, "09:00"}, {65, "10:05"}, {900, "24:00"}, {12, "09:12"}, {-5, "08:55"}, {29, "09:29"}};
  for (const auto& c : cases) EXPECT_EQ(sample_clock_text(c.minutes), c.text) << c.minutes;
  // No overflow at the end of the range.
  EXPECT_FALSE(sample_clock_text(std::numeric_limits<std::int64_t>::max()).empty());
}

TEST(SampleLegGeometry, LShapedOnTheGrid) {
  EXPECT_EQ(sample_leg_geometry(0, 0, 0.2, -0.2),
            (std::vector<LatLon>{sample_grid_point(0, 0), sample_grid_point(0.2, 0), sample_grid_point(0.2, -0.2)}));
  EXPECT_EQ(sample_leg_geometry(-6.5, -6, -5, -5),
            (std::vector<LatLon>{sample_grid_point(-6.5, -6), sample_grid_point(-6, -6), sample_grid_point(-5, -6),
                                 sample_grid_point(-5, -5)}));
  EXPECT_EQ(sample_leg_geometry(1, 2, 1, 2), (std::vector<LatLon>{sample_grid_point(1, 2)}));
  EXPECT_EQ(sample_grid_point(1, -1), (LatLon{48.1371 + -1 * 0.0024, 11.5754 + 1 * 0.0036}));
}

TEST(SamplePlaces, IdsAndNames) {
  const auto places = sample_places();
  const char* ids[] = {"marienplatz", "cafe-glueck",  "stadtmuseum", "isar-biergarten",
                       "hofgarten",   "hauptbahnhof", "hotel-vier",  "viktualienmarkt"};
  ASSERT_EQ(places.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(places[i].id, ids[i]);
    EXPECT_FALSE(places[i].saved);
  }
  EXPECT_EQ(places[1].name, "Café Glück");
  EXPECT_EQ(places[1].address, "Theatinerstraße 18");
  EXPECT_EQ(places[6].name, "Hotel Vier Türme");
  EXPECT_EQ(places[0].address, "Marienplatz 1, 80331 München");
  EXPECT_EQ(places[5].pos, (LatLon{48.13974, 11.543}));
  EXPECT_EQ(places[7].category, Category::Shop);
}

TEST(SampleMapModel, Contents) {
  const MapModel m = sample_map_model();
  ASSERT_EQ(m.places.size(), 8u);
  std::vector<std::string> saved;
  for (const Place& p : m.places) {
    if (p.saved) saved.push_back(p.id);
  }
  EXPECT_EQ(saved, (std::vector<std::string>{"cafe-glueck", "hofgarten"}));
  EXPECT_EQ(m.recents, (std::vector<std::string>{"Marienplatz", "coffee near me", "Hauptbahnhof"}));
  std::vector<std::string> results;
  for (const Place& p : m.results) results.push_back(p.name);
  EXPECT_EQ(results, (std::vector<std::string>{"Marienplatz", "Café Glück", "Stadtmuseum", "Viktualienmarkt"}));
  EXPECT_EQ(m.selected, "marienplatz");
  EXPECT_EQ(m.origin, (LatLon{48.1227, 11.552}));
  EXPECT_EQ(m.origin_name, "Sendling, München");
  EXPECT_EQ(m.dest, (LatLon{48.1371, 11.5754}));
  EXPECT_EQ(m.dest_name, "Marienplatz");
  EXPECT_EQ(m.route, sample_route_steps());
  EXPECT_EQ(m.transit, sample_transit_journeys());
  EXPECT_EQ(m.panel, Panel::Directions);
  EXPECT_EQ(m.mode, TravelMode::Car);
  EXPECT_EQ(m.query, "Marienplatz");
  EXPECT_EQ(m.center, (LatLon{48.1331, 11.5724}));
  EXPECT_EQ(m.zoom, 14.6);
  // The rest is the default model's.
  EXPECT_EQ(m.transit_choice, 0u);
  EXPECT_EQ(m.transit_time, (TransitTime{TransitTimeMode::Depart, 0}));
  EXPECT_TRUE(m.regions.empty());
  EXPECT_TRUE(m.status.empty());
  EXPECT_TRUE(m.origin_query.empty());
  EXPECT_TRUE(m.dest_query.empty());
  EXPECT_EQ(sample_map_model(), m);
}

TEST(SampleRoute, GeometryStepsAndTiming) {
  const Route r = sample_route_steps();
  EXPECT_EQ(r.mode, TravelMode::Car);
  ASSERT_EQ(r.geometry.size(), 16u);
  EXPECT_EQ(r.geometry[0], (LatLon{48.1227, 11.5754 + -6.5 * 0.0036}));
  EXPECT_EQ(r.geometry[6], (LatLon{48.1227, 11.5754 + -0.5 * 0.0036}));
  EXPECT_EQ(r.geometry[7], (LatLon{48.1227, 11.5754}));
  EXPECT_EQ(r.geometry[8], (LatLon{48.1371 + -6 * 0.0024, 11.5754}));
  EXPECT_EQ(r.geometry[14], (LatLon{48.1371, 11.5754}));
  EXPECT_EQ(r.geometry[15], r.geometry[14]);
  EXPECT_NEAR(r.geometry[8].lat, r.geometry[7].lat, 1e-12);
  EXPECT_EQ(r.from, (LatLon{48.1227, 11.552}));
  EXPECT_EQ(r.to, (LatLon{48.1371, 11.5754}));

  EXPECT_EQ(r.distance_m, polyline_length_m(r.geometry));
  EXPECT_EQ(r.duration_s, r.distance_m / (32000.0 / 3600.0));
  EXPECT_NEAR(r.distance_m, 3341, 5);  // about 1.74 km east, 1.6 km north

  ASSERT_EQ(r.steps.size(), 6u);
  double steps_total = 0;
  for (const RouteStep& s : r.steps) steps_total += s.distance_m;
  EXPECT_EQ(steps_total, 2910);
  EXPECT_GT(r.distance_m, steps_total);
  EXPECT_EQ(r.steps[0], (RouteStep{"Head east on Lindwurmstraße", 240, Maneuver::Depart}));
  EXPECT_EQ(r.steps[4], (RouteStep{"Slight right into the pedestrian zone", 90, Maneuver::SlightRight}));
  EXPECT_EQ(r.steps[5], (RouteStep{"Arrive at Marienplatz", 0, Maneuver::Arrive}));
}

TEST(SampleJourneys, Summaries) {
  const auto js = sample_transit_journeys();
  ASSERT_EQ(js.size(), 3u);
  const struct {
    const char* dep;
    const char* arr;
    std::uint32_t duration, transfers;
    std::size_t legs;
  } expected[] = {{"09:12", "09:26", 14, 0, 3}, {"09:08", "09:27", 19, 1, 4}, {"09:05", "09:29", 24, 1, 4}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(js[i].dep, expected[i].dep);
    EXPECT_EQ(js[i].arr, expected[i].arr);
    EXPECT_EQ(js[i].duration_min, expected[i].duration);
    EXPECT_EQ(js[i].transfers, expected[i].transfers);
    ASSERT_EQ(js[i].legs.size(), expected[i].legs);
    // Every journey ends with the same three-point walk across the square.
    const TransitLeg& last = js[i].legs.back();
    EXPECT_EQ(last.mode, TransitMode::Walk);
    EXPECT_EQ(last.geometry, sample_leg_geometry(0, 0, 0.2, -0.2));
    EXPECT_EQ(last.geometry.size(), 3u);
    EXPECT_EQ(js[i].legs.front().from_name, "Your location");
  }
}

TEST(SampleJourneys, Legs) {
  const auto js = sample_transit_journeys();
  const TransitLeg& u3 = js[0].legs[1];
  EXPECT_EQ(u3.mode, TransitMode::Subway);
  EXPECT_EQ(u3.line, "U3");
  EXPECT_EQ(u3.headsign, "→ Moosach");
  EXPECT_EQ(u3.dep, "09:17");
  EXPECT_EQ(u3.arr, "09:23");
  EXPECT_EQ(u3.num_stops, 3u);
  EXPECT_EQ(u3.color, "eb690b");
  EXPECT_EQ(u3.text_color, "ffffff");
  EXPECT_EQ(u3.agency, "MVG");
  EXPECT_TRUE(u3.realtime);
  EXPECT_EQ(u3.geometry, sample_leg_geometry(-5, -5, 0, 0));

  const TransitLeg& bus = js[1].legs[2];
  EXPECT_EQ(bus.mode, TransitMode::Bus);
  EXPECT_EQ(bus.headsign, "→ Tierpark");
  EXPECT_FALSE(bus.realtime);
  EXPECT_EQ(bus.color, "005e82");

  const TransitLeg& s1 = js[2].legs[2];
  EXPECT_EQ(s1.mode, TransitMode::Rail);
  EXPECT_EQ(s1.agency, "DB Regio AG S-Bahn München");
  EXPECT_EQ(s1.geometry, sample_leg_geometry(1.5, 5, 0, 0));

  const TransitLeg& walk = js[2].legs[0];
  EXPECT_EQ(walk,
            sample_transit_leg("Your location", "Poccistraße", 5, 10, 5, sample_leg_geometry(-6.5, -6, -6, -4.5)));
  EXPECT_TRUE(walk.line.empty());
  EXPECT_TRUE(walk.agency.empty());
  EXPECT_FALSE(walk.color.has_value());
  EXPECT_FALSE(walk.text_color.has_value());
  EXPECT_EQ(walk.num_stops, 0u);
  EXPECT_FALSE(walk.realtime);
}

TEST(SamplePois, Contents) {
  const auto pois = sample_pois();
  ASSERT_EQ(pois.size(), 10u);
  const char* ids[] = {"osm-node-201", "osm-node-202", "osm-node-203", "osm-way-204",  "osm-node-205",
                       "osm-node-206", "osm-node-207", "osm-node-208", "osm-node-209", "osm-way-210"};
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(pois[i].id, ids[i]);

  const Poi& tambosi = pois[0];
  EXPECT_EQ(tambosi.name, "Café Tambosi");
  EXPECT_EQ(tambosi.pos, sample_grid_point(1.2, 1.6));
  EXPECT_EQ(tambosi.opening_hours, "Mo–Sa 08:00–20:00");
  EXPECT_TRUE(tambosi.website.has_value());
  EXPECT_TRUE(tambosi.phone.has_value());
  EXPECT_EQ(tambosi.kind, "coffee");

  const Poi& hofbraeuhaus = pois[2];
  EXPECT_EQ(hofbraeuhaus.name, "Hofbräuhaus");
  EXPECT_EQ(hofbraeuhaus.category, Category::Bar);
  EXPECT_TRUE(hofbraeuhaus.website.has_value());
  EXPECT_FALSE(hofbraeuhaus.phone.has_value());
  EXPECT_EQ(hofbraeuhaus.kind, "beer garden");

  const Poi& station = pois[4];
  EXPECT_TRUE(station.address.empty());
  EXPECT_EQ(station.opening_hours, "24/7");
  EXPECT_FALSE(station.kind.has_value());

  const Poi& church = pois[6];
  EXPECT_EQ(church.address, "Neuhauser Str. 2");
  EXPECT_FALSE(church.opening_hours.has_value());

  const Poi& hotel = pois[8];
  EXPECT_TRUE(hotel.phone.has_value());
  EXPECT_FALSE(hotel.website.has_value());
  EXPECT_EQ(hotel.pos, sample_grid_point(3.8, -4));

  EXPECT_EQ(pois[9].kind, "park");
  EXPECT_EQ(pois[9].category, Category::Park);

  const Poi bare = sample_poi("x", "X", Category::Other, 0, 0);
  EXPECT_EQ(bare, (Poi{"x", "X", "", {}, {}, {}, {}, sample_grid_point(0, 0), Category::Other}));
}

TEST(SampleRegionsAndAreas, Contents) {
  EXPECT_EQ(sample_regions(),
            (std::vector<DownloadedRegion>{
                {"region-demo-1", "München Altstadt", {48.1227, 11.5538}, {48.1515, 11.597}, 13, 16, 1148},
                {"region-demo-2", "Hauptbahnhof", {48.1323, 11.5358}, {48.1443, 11.5538}, 14, 17, 412}}));
  const auto areas = sample_offline_places();
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0],
            (AreaCandidate{"Munich", "Bavaria, Germany", {48.1371, 11.5754}, {48.0616, 11.3608}, {48.2482, 11.7229}}));
  EXPECT_EQ(areas[1].name, "München Hauptbahnhof");
  EXPECT_EQ(areas[1].label, "Bahnhofplatz, München");
  EXPECT_EQ(areas[2].max, (LatLon{48.1384, 11.5765}));
}

TEST(SampleResultsFilter, Categories) {
  for (std::size_t i = 0; i < enum_count<Category>(); ++i) {
    const auto c = static_cast<Category>(i);
    const bool shown = c == Category::Landmark || c == Category::Cafe || c == Category::Museum || c == Category::Shop;
    EXPECT_EQ(sample_results_filter(Place{"", "", c, "", {}, false}), shown) << enum_name(c);
  }
}

}  // namespace
}  // namespace maps

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "net/polyline.hpp"
#include "net/routing.hpp"

namespace maps {
namespace {

using nlohmann::json;

TEST(ManeuverFromOsrm, FirstMatchingRowDecides) {
  struct Case {
    const char* type;
    const char* modifier;
    Maneuver expected;
  };
  const Case cases[] = {
      {"depart", "left", Maneuver::Depart},
      {"arrive", "right", Maneuver::Arrive},
      {"roundabout", "", Maneuver::Roundabout},
      {"rotary", "left", Maneuver::Roundabout},
      {"roundabout turn", "", Maneuver::Roundabout},
      {"merge", "slight left", Maneuver::Merge},
      {"uturn", "", Maneuver::Uturn},
      {"continue", "uturn", Maneuver::Uturn},
      {"turn", "sharp left", Maneuver::SharpLeft},
      {"turn", "left", Maneuver::Left},
      {"fork", "slight left", Maneuver::SlightLeft},
      {"end of road", "sharp right", Maneuver::SharpRight},
      {"turn", "right", Maneuver::Right},
      {"off ramp", "slight right", Maneuver::SlightRight},
      {"new name", "straight", Maneuver::Continue},
      {"turn", "", Maneuver::Continue},
      {"Depart", "Left", Maneuver::Continue},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(maneuver_from_osrm(c.type, c.modifier), c.expected) << c.type << "/" << c.modifier;
  }
}

TEST(StepInstruction, NamedAndUnnamed) {
  struct Case {
    Maneuver m;
    const char* named;
    const char* unnamed;
  };
  const Case cases[] = {
      {Maneuver::Depart, "Head out on X", "Start"},
      {Maneuver::Continue, "Continue on X", "Continue"},
      {Maneuver::Merge, "Continue on X", "Continue"},
      {Maneuver::SlightLeft, "Slight left onto X", "Slight left"},
      {Maneuver::Left, "Turn left onto X", "Turn left"},
      {Maneuver::SharpLeft, "Sharp left onto X", "Sharp left"},
      {Maneuver::SlightRight, "Slight right onto X", "Slight right"},
      {Maneuver::Right, "Turn right onto X", "Turn right"},
      {Maneuver::SharpRight, "Sharp right onto X", "Sharp right"},
      {Maneuver::Uturn, "Make a U-turn", "Make a U-turn"},
      {Maneuver::Roundabout, "At the roundabout, take the exit onto X", "At the roundabout, take the exit"},
      {Maneuver::Arrive, "Arrive at your destination", "Arrive at your destination"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(step_instruction(c.m, "X"), c.named);
    EXPECT_EQ(step_instruction(c.m, ""), c.unnamed);
  }
}

TEST(JsonCoordPair, LongitudeFirstNumbersOnly) {
  EXPECT_EQ(json_coord_pair(json::parse("[11.5, 48.1]")), (LatLon{48.1, 11.5}));
  EXPECT_EQ(json_coord_pair(json::parse("[11, 48, 500]")), (LatLon{48, 11}));
  EXPECT_EQ(json_coord_pair(json::parse(R"(["11.5", 48.1])")), std::nullopt);
  EXPECT_EQ(json_coord_pair(json::parse("[11.5]")), std::nullopt);
  EXPECT_EQ(json_coord_pair(json::parse(R"({"0":1,"1":2})")), std::nullopt);
  // Off the globe: longitude first, so [48, 200] is a latitude of 200.
  EXPECT_EQ(json_coord_pair(json::parse("[48, 200]")), std::nullopt);
  EXPECT_EQ(json_coord_pair(json::parse("[-180.5, 48]")), std::nullopt);
  EXPECT_EQ(json_coord_pair(json::parse("[1e300, 48]")), std::nullopt);
  EXPECT_EQ(json_coord_pair(json::parse("[180, -90]")), (LatLon{-90, 180}));
}

// Three points on a north-south line, the middle one pushed east by `offset_m`.
std::vector<LatLon> bent_line(double offset_m) {
  const double m_per_deg = 111319.49079327358;
  return {{48.0, 11.0},
          {48.0005, 11.0 + offset_m / (m_per_deg * std::cos(48.0 * 3.14159265358979323846 / 180.0))},
          {48.001, 11.0}};
}

TEST(SimplifyPolyline, ToleranceDecides) {
  const std::vector<LatLon> two{{48, 11}, {48.1, 11.1}};
  EXPECT_EQ(simplify_polyline(two, 3.0), two);
  EXPECT_EQ(simplify_polyline(bent_line(10), 0.0), bent_line(10));
  EXPECT_EQ(simplify_polyline(bent_line(0), 3.0).size(), 2u);
  EXPECT_EQ(simplify_polyline(bent_line(3.5), 3.0), bent_line(3.5));
  EXPECT_EQ(simplify_polyline(bent_line(2.5), 3.0).size(), 2u);
  EXPECT_TRUE(simplify_polyline({}, 3.0).empty());
}

TEST(SimplifyPolyline, KeepsCornersOfALongLine) {
  std::vector<LatLon> line;
  for (int i = 0; i <= 100; ++i) line.push_back({48.0 + i * 1e-5, 11.0});    // straight north
  for (int i = 1; i <= 100; ++i) line.push_back({48.001, 11.0 + i * 1e-5});  // then east
  const auto out = simplify_polyline(line, 3.0);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_EQ(out[1], (LatLon{48.001, 11.0}));
  // Coincident end points (a loop) fall back to point distances.
  std::vector<LatLon> loop{{48, 11}, {48.001, 11}, {48.001, 11.001}, {48, 11}};
  EXPECT_EQ(simplify_polyline(loop, 3.0).size(), 4u);
}

// A zigzag whose swing grows along the line, so every split peels off one point: the
// quadratic worst case of the simplification.
std::vector<LatLon> growing_zigzag(int n) {
  std::vector<LatLon> line;
  for (int i = 0; i < n; ++i) {
    const double swing = 1e-9 * i * i;
    line.push_back({48.0 + (i % 2 == 1 ? swing : -swing), 11.0 + i * 1e-5});
  }
  return line;
}

bool contains_all(const std::vector<LatLon>& outer, const std::vector<LatLon>& inner) {
  return std::all_of(inner.begin(), inner.end(),
                     [&](const LatLon& p) { return std::find(outer.begin(), outer.end(), p) != outer.end(); });
}

TEST(SimplifyPolyline, WorkIsBoundedAndOnlyEverAddsDetail) {
  const auto zigzag = growing_zigzag(4000);
  const auto exact = simplify_polyline(zigzag, 3.0, SIZE_MAX);
  const auto bounded = simplify_polyline(zigzag, 3.0);
  // The budget ran out: the stretch still open keeps its points, among them the small swings
  // near the start that the exact result drops.
  EXPECT_LT(exact.size(), zigzag.size());
  EXPECT_EQ(bounded, zigzag);
  EXPECT_TRUE(contains_all(bounded, exact));

  // A real line's simplification stays far inside the budget.
  std::vector<LatLon> road;
  for (int i = 0; i < 5000; ++i) road.push_back({48.0 + i * 1e-5, 11.0 + 1e-3 * std::sin(i / 300.0)});
  EXPECT_EQ(simplify_polyline(road, 3.0), simplify_polyline(road, 3.0, SIZE_MAX));
  EXPECT_LT(simplify_polyline(road, 3.0).size(), road.size() / 10);
}

const char* kOsrmReply = R"({
  "code": "Ok",
  "routes": [{
    "distance": 1234.5, "duration": 300,
    "geometry": {"type": "LineString", "coordinates": [[11.0, 48.0], ["x", 1], [11.0, 48.0005], [11.0, 48.001]]},
    "legs": [
      {"steps": [
        {"maneuver": {"type": "depart"}, "name": "", "distance": 10},
        {"maneuver": {"type": "turn", "modifier": "left"}, "name": "Sendlinger Straße", "distance": 200.5},
        {"maneuver": {"type": "new name", "modifier": "straight"}, "name": "Leopoldstraße", "distance": "9"}
      ]},
      {"steps": "none"},
      {"steps": [{"maneuver": {"type": "arrive"}, "name": "Home"}, 7]}
    ]
  }, {"distance": 1}]
})";

TEST(ParseOsrmRoute, FirstRouteWithSteps) {
  const LatLon from{48, 11}, to{48.001, 11};
  auto r = parse_osrm_route(json::parse(kOsrmReply), TravelMode::Transit, from, to);
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(r->mode, TravelMode::Transit);
  EXPECT_EQ(r->distance_m, 1234.5);
  EXPECT_EQ(r->duration_s, 300.0);
  EXPECT_EQ(r->from, from);
  EXPECT_EQ(r->to, to);
  EXPECT_EQ(r->geometry, (std::vector<LatLon>{{48.0, 11.0}, {48.001, 11.0}}));
  const std::vector<RouteStep> steps{
      {"Start", 10, Maneuver::Depart},
      {"Turn left onto Sendlinger Straße", 200.5, Maneuver::Left},
      {"Continue on Leopoldstraße", 0, Maneuver::Continue},
      {"Arrive at your destination", 0, Maneuver::Arrive},
      {"Continue", 0, Maneuver::Continue},
  };
  EXPECT_EQ(r->steps, steps);
}

TEST(ParseOsrmRoute, CodesAndEmptyRoutes) {
  const LatLon a{1, 2}, b{3, 4};
  EXPECT_EQ(parse_osrm_route(json::parse(R"({"code":"NoRoute","message":"x"})"), TravelMode::Car, a, b).error(),
            "NoRoute");
  EXPECT_EQ(parse_osrm_route(json::parse(R"({"routes":[]})"), TravelMode::Car, a, b).error(), "routing failed");
  EXPECT_EQ(parse_osrm_route(json::parse(R"({"code":5})"), TravelMode::Car, a, b).error(), "routing failed");
  EXPECT_EQ(parse_osrm_route(json::parse("[]"), TravelMode::Car, a, b).error(), "routing failed");
  auto empty = parse_osrm_route(json::parse(R"({"code":"Ok","routes":[]})"), TravelMode::Bike, a, b);
  ASSERT_TRUE(empty.is_ok());
  EXPECT_EQ(*empty, (Route{TravelMode::Bike, 0, 0, {}, {}, a, b}));
}

TEST(ParseOsrmReply, ServiceErrorsSentWithAClientStatusAreTheServiceCode) {
  const LatLon a{1, 2}, b{3, 4};
  using K = base::ErrorKind;
  struct Case {
    long status;
    const char* body;
    const char* error;  // nullptr: a route
    K kind;
    long http_status;  // the one the error carries
  };
  const Case cases[] = {
      {200, R"({"code":"Ok","routes":[]})", nullptr, K::Other, 0},
      // "No route here" is an answer, not a failure of the service.
      {200, R"({"code":"NoRoute"})", "NoRoute", K::NoResult, 0},
      {400, R"({"code":"NoRoute","message":"Impossible route between points"})", "NoRoute", K::NoResult, 0},
      {400, R"({"code":"NoSegment","message":"Could not find a matching segment"})", "NoSegment", K::NoResult, 0},
      {404, R"({"code":"InvalidUrl"})", "InvalidUrl", K::ServiceError, 404},
      {429, R"({"code":"TooBig"})", "TooBig", K::ServiceError, 429},
      // Not the service's JSON error: the status speaks.
      {400, "<html>Bad Request</html>", "HTTP 400 Bad Request", K::ServiceError, 400},
      {400, R"({"message":"no code"})", "HTTP 400 Bad Request", K::ServiceError, 400},
      {400, R"({"code":""})", "HTTP 400 Bad Request", K::ServiceError, 400},
      {400, R"({"code":"Ok","routes":[]})", "HTTP 400 Bad Request", K::ServiceError, 400},
      {400, R"(["NoRoute"])", "HTTP 400 Bad Request", K::ServiceError, 400},
      {500, R"({"code":"NoRoute"})", "HTTP 500 Internal Server Error", K::ServiceError, 500},
      {302, R"({"code":"NoRoute"})", "HTTP 302 Found", K::ServiceError, 302},
      {200, R"({"routes":[]})", "routing failed", K::BadReply, 0},
  };
  for (const auto& c : cases) {
    auto r = parse_osrm_reply(HttpReply{c.status, c.body, std::nullopt}, TravelMode::Car, a, b);
    if (c.error == nullptr) {
      EXPECT_TRUE(r.is_ok()) << c.status << " " << c.body;
    } else {
      ASSERT_TRUE(r.is_err()) << c.status << " " << c.body;
      EXPECT_EQ(r.failure(), base::err(c.kind, c.error, c.http_status)) << c.status << " " << c.body;
    }
  }
  const auto html = parse_osrm_reply(HttpReply{200, "<html>", std::nullopt}, TravelMode::Car, a, b);
  EXPECT_THAT(html.error(), ::testing::HasSubstr("error decoding response body"));
  EXPECT_EQ(html.error_kind(), K::BadReply);
}

TEST(OsrmRouteUrl, ProfileAndLongitudeFirst) {
  ServiceHosts hosts;
  hosts.osrm = "http://h";
  const LatLon from{48.1371, 11.5754}, to{48.2, -0.5};
  EXPECT_EQ(osrm_route_url(hosts, TravelMode::Car, from, to),
            "http://h/route/v1/driving/11.575400,48.137100;-0.500000,48.200000"
            "?overview=full&geometries=geojson&steps=true");
  EXPECT_EQ(osrm_profile(TravelMode::Transit), "driving");
  EXPECT_EQ(osrm_profile(TravelMode::Bike), "cycling");
  EXPECT_EQ(osrm_profile(TravelMode::Foot), "foot");
}

}  // namespace
}  // namespace maps

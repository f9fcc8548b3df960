#include "geo/geo.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace maps {
namespace {

TEST(Haversine, WorkedValues) {
  EXPECT_EQ(haversine_m({48.1, 11.5}, {48.1, 11.5}), 0.0);
  EXPECT_NEAR(haversine_m({0, 0}, {0, 1}), 111319.49, 0.01);
  // Antipodes: the term is clamped, so the result is half the circumference, never NaN.
  const double d = haversine_m({0, 0}, {0, 180});
  EXPECT_TRUE(std::isfinite(d));
  EXPECT_NEAR(d, kEarthDiameterM * M_PI / 2, 1e-6);
}

TEST(Mercator, ProjectsAndUnprojects) {
  EXPECT_EQ(project_mercator(0, 0, 0), (Point{128, 128}));
  EXPECT_EQ(project_mercator(89, 10, 3).y, project_mercator(85.05112878, 10, 3).y);
  for (double lat : {-80.0, -33.9, 0.0, 48.1371, 85.0}) {
    for (double z : {0.0, 3.5, 14.4, 19.0}) {
      const Point p = project_mercator(lat, 11.5754, z);
      const LatLon back = unproject_mercator(p.x, p.y, z);
      EXPECT_NEAR(back.lat, lat, 1e-9);
      EXPECT_NEAR(back.lon, 11.5754, 1e-9);
    }
  }
  // Fractional zooms are continuous: half a level scales by sqrt(2).
  EXPECT_NEAR(project_mercator(0, 90, 0.5).x, 192 * std::sqrt(2.0), 1e-9);
}

TEST(Camera, CentreLandsOnItsScreenPoint) {
  const Camera cam = new_camera(48.1371, 11.5754, 14.4, 640, 400);
  const Point p = camera_project(cam, 48.1371, 11.5754);
  EXPECT_DOUBLE_EQ(p.x, 640);
  EXPECT_DOUBLE_EQ(p.y, 400);
  const LatLon back = camera_unproject(cam, 100, 50);
  const Point again = camera_project(cam, back.lat, back.lon);
  EXPECT_NEAR(again.x, 100, 1e-6);
  EXPECT_NEAR(again.y, 50, 1e-6);
}

TEST(PolylineLength, SumsPairs) {
  EXPECT_EQ(polyline_length_m({}), 0.0);
  EXPECT_EQ(polyline_length_m({{1, 1}}), 0.0);
  EXPECT_DOUBLE_EQ(polyline_length_m({{0, 0}, {0, 1}, {0, 2}}), haversine_m({0, 0}, {0, 1}) * 2);
}

struct EstimateCase {
  LatLon from, to;
  const char* head;
  const char* turn;
  Maneuver maneuver;
};

TEST(OfflineRouteEstimate, HeadingAndTurnTable) {
  const EstimateCase cases[] = {
      {{48.10, 11.50}, {48.20, 11.60}, "Head east to start", "Turn left toward destination", Maneuver::Left},
      {{48.20, 11.60}, {48.10, 11.50}, "Head west to start", "Turn left toward destination", Maneuver::Left},
      {{48.10, 11.60}, {48.20, 11.50}, "Head west to start", "Turn right toward destination", Maneuver::Right},
      {{48.20, 11.50}, {48.10, 11.60}, "Head east to start", "Turn right toward destination", Maneuver::Right},
      {{48.10, 11.50}, {48.10, 11.50}, "Head east to start", "Turn left toward destination", Maneuver::Left},
  };
  for (const auto& c : cases) {
    const Route r = offline_route_estimate(TravelMode::Car, c.from, c.to);
    ASSERT_EQ(r.steps.size(), 3u);
    EXPECT_EQ(r.steps[0].instruction, c.head);
    EXPECT_EQ(r.steps[0].maneuver, Maneuver::Depart);
    EXPECT_EQ(r.steps[1].instruction, c.turn);
    EXPECT_EQ(r.steps[1].maneuver, c.maneuver);
    EXPECT_EQ(r.steps[2].instruction, "Arrive at destination");
    EXPECT_EQ(r.steps[2].distance_m, 0.0);
    EXPECT_EQ(r.steps[2].maneuver, Maneuver::Arrive);
    EXPECT_EQ(r.geometry, (std::vector<LatLon>{c.from, {c.from.lat, c.to.lon}, c.to}));
    EXPECT_EQ(r.from, c.from);
    EXPECT_EQ(r.to, c.to);
  }
}

TEST(OfflineRouteEstimate, DurationFollowsTheModeSpeed) {
  const LatLon a{48.10, 11.50}, b{48.20, 11.60};
  const Route car = offline_route_estimate(TravelMode::Car, a, b);
  EXPECT_EQ(car.mode, TravelMode::Car);
  EXPECT_DOUBLE_EQ(car.distance_m, polyline_length_m(car.geometry));
  EXPECT_DOUBLE_EQ(car.duration_s, car.distance_m / (32000.0 / 3600.0));
  const Route foot = offline_route_estimate(TravelMode::Foot, a, b);
  EXPECT_NEAR(foot.duration_s / car.duration_s, 32000.0 / 4800.0, 1e-12);
  const Route same = offline_route_estimate(TravelMode::Transit, a, a);
  EXPECT_EQ(same.distance_m, 0.0);
  EXPECT_EQ(same.duration_s, 0.0);
  EXPECT_EQ(same.mode, TravelMode::Transit);
}

}  // namespace
}  // namespace maps

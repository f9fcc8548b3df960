// What the directions and navigation panels say when a plan does not come: a router without a
// route, a router that cannot be asked (its estimate stands in and says so), a failed journey
// lookup, and a planner that only walks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "display_list.hpp"
#include "geo/geo.hpp"
#include "net/transit.hpp"
#include "tick_fixture.hpp"
#include "transitions/plans.hpp"
#include "zarn_ui/permissions.hpp"
#include "zarn_ui/presence.hpp"

namespace maps {
namespace {

using display_list::has_text;
using testing::make_route;
using testing::TickFixture;

constexpr LatLon kHome{48.13, 11.56};
constexpr LatLon kMuseum{48.15, 11.60};

// A live state laid out at 1280 x 800 in the Directions panel, asking for a plan from kHome to
// kMuseum in `mode`.
void ask_for_plan(TickFixture& f, TravelMode mode) {
  f.tick();
  f.app->bounds_rect = f.app->drawn_bounds = {0, 0, 1280, 800};
  f.model().panel = Panel::Directions;
  f.model().mode = mode;
  f.app->transient.set_origin(f.model(), kHome, "Home");
  f.app->transient.set_dest(f.model(), kMuseum, "Museum");
  request_plan(f.app->session());
  f.advance(kJourneyAskPause);
  f.tick();
}

zarn_ui::Scene draw(MapsApp& app) {
  auto text = zarn_ui::text_render::TextRenderer::fixed(7.0);
  const auto presence = zarn_ui::presence::PresenceCtx::empty();
  const auto permissions = zarn_ui::permissions::PermissionContext::permissive();
  zarn_ui::Scene scene;
  app.draw(scene, zarn_ui::Affine::identity(), {text, zarn_ui::theme::Theme::light(), presence, permissions});
  return scene;
}

TEST(PlanFailures, ARouterWithoutARouteDrawsNoLineAndSaysSo) {
  TickFixture f;
  ask_for_plan(f, TravelMode::Car);
  f.send(worker::Route{base::err(base::ErrorKind::NoResult, "NoRoute"), 1});
  f.tick();
  EXPECT_FALSE(f.model().route.has_value()) << "no line, and no estimate pretending to be one";
  EXPECT_EQ(f.model().status, "No route found");
  const auto scene = draw(*f.app);
  EXPECT_TRUE(has_text(scene, "No route found"));
  EXPECT_FALSE(has_text(scene, "Navigation"));
  EXPECT_FALSE(has_text(scene, "Navigation \u00b7 estimate"));
  // A new request forgets the answer.
  f.model().mode = TravelMode::Foot;
  request_plan(f.app->session());
  EXPECT_FALSE(has_text(draw(*f.app), "No route found"));
}

TEST(PlanFailures, AnEstimateStandsInForARouterThatCannotBeAskedAndSaysSo) {
  const base::Error failures[] = {
      base::err(base::ErrorKind::Unreachable, "Could not connect to server"),
      base::err(base::ErrorKind::TimedOut, "timed out"),
      base::err(base::ErrorKind::ServiceError, "HTTP 503 Service Unavailable", 503),
      base::err(base::ErrorKind::BadReply, "routing failed"),
  };
  for (const base::Error& failure : failures) {
    SCOPED_TRACE(failure.message);
    TickFixture f;
    ask_for_plan(f, TravelMode::Car);
    const Route estimate = offline_route_estimate(TravelMode::Car, kHome, kMuseum);
    EXPECT_TRUE(route_is_estimate(f.app->transient));
    EXPECT_TRUE(has_text(draw(*f.app), "Estimate \u00b7 finding the route\u2026"));

    f.send(worker::Route{failure, 1});
    f.tick();
    EXPECT_EQ(f.model().route, estimate);
    const auto scene = draw(*f.app);
    EXPECT_TRUE(has_text(scene, "Estimate \u00b7 service unavailable"));
    EXPECT_TRUE(has_text(scene, "Navigation \u00b7 estimate"));
  }
  // The router's own route is no estimate.
  TickFixture f;
  ask_for_plan(f, TravelMode::Car);
  f.send(worker::Route{make_route(kHome.lat, kMuseum.lat), 1});
  f.tick();
  EXPECT_FALSE(route_is_estimate(f.app->transient));
  const auto scene = draw(*f.app);
  EXPECT_TRUE(has_text(scene, "Navigation"));
  EXPECT_FALSE(has_text(scene, "Navigation \u00b7 estimate"));
  EXPECT_FALSE(has_text(scene, "Estimate \u00b7 service unavailable"));
}

TEST(PlanFailures, AFailedJourneyLookupIsNoEmptyAnswer) {
  TickFixture f;
  ask_for_plan(f, TravelMode::Transit);
  ASSERT_EQ(f.jobs->of_kind<TransitJob>().size(), 1u);
  f.send(worker::Transit{base::err(base::ErrorKind::Unreachable, "Could not connect to server"), 1});
  f.tick();
  const auto scene = draw(*f.app);
  EXPECT_TRUE(has_text(scene, "Transit lookup failed: cannot reach the transit planner"));
  EXPECT_FALSE(has_text(scene, "No public-transport itineraries found."));

  // An answer with nothing in it still says that nothing was found.
  request_plan(f.app->session());
  f.advance(kJourneyAskPause);
  f.tick();
  f.send(worker::Transit{std::vector<TransitJourney>{}, 2});
  f.tick();
  EXPECT_TRUE(has_text(draw(*f.app), "No public-transport itineraries found."));
}

// For a short trip the planner sends only its walk, under "direct": a journey of one walk leg.
TEST(PlanFailures, AWalkOnlyAnswerIsAJourney) {
  const auto reply = nlohmann::json::parse(R"({"itineraries": [], "direct": [
    {"duration": 267, "startTime": "2024-11-06T16:34:00Z", "endTime": "2024-11-06T16:38:27Z", "transfers": 0,
     "legs": [{"mode": "WALK", "from": {"name": "START"}, "to": {"name": "END"}, "duration": 267,
               "startTime": "2024-11-06T16:34:00Z", "endTime": "2024-11-06T16:38:27Z"}]}]})");
  auto journeys = parse_transit_plan(reply);
  ASSERT_TRUE(journeys.is_ok()) << journeys.error();
  ASSERT_EQ(journeys->size(), 1u);
  TickFixture f;
  ask_for_plan(f, TravelMode::Transit);
  f.send(worker::Transit{std::move(journeys), 1});
  f.tick();
  ASSERT_EQ(f.model().transit.size(), 1u);
  EXPECT_EQ(f.model().status, "Departures updated");
  const auto scene = draw(*f.app);
  EXPECT_TRUE(has_text(scene, "4 min"));
  EXPECT_TRUE(has_text(scene, "walk 4m"));
  EXPECT_TRUE(has_text(scene, "Walk \u00b7 4 min"));
  EXPECT_TRUE(has_text(scene, "to Museum")) << "the walk ends at the destination, not at the planner's \"END\"";
  EXPECT_FALSE(has_text(scene, "No public-transport itineraries found."));
}

}  // namespace
}  // namespace maps

// Asking for routes and journeys: what each request writes into the model, what the pending-values
// overlay keeps over the document until a committed plan covers it, and which job goes out.

#include "transitions/plans.hpp"
#include "app/ui_messages.hpp"
#include "model/place_ops.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "geo/geo.hpp"
#include "tick_fixture.hpp"
#include "transitions/commit.hpp"
#include "transitions/messages.hpp"
#include "transitions/selection.hpp"

namespace maps {
namespace {

using testing::make_place;
using testing::make_route;
using testing::TickFixture;

constexpr LatLon kCentre{48.1371, 11.5754};  // the default model's
constexpr LatLon kHome{48.10, 11.50};
constexpr LatLon kMuseum{48.15, 11.60};

TransitJourney journey(const std::string& dep) {
  TransitJourney j;
  j.dep = dep;
  j.legs.resize(1);
  j.legs[0].geometry = {LatLon{48.13, 11.55}, LatLon{48.14, 11.58}};
  return j;
}

void tick_a_few(TickFixture& f) {
  for (int i = 0; i < 3; ++i) f.tick();
}

struct RoutingCase {
  const char* name;
  bool live;
  std::optional<LatLon> origin;  // set through the overlay with the name "Home"
  std::optional<LatLon> dest;    // set through the overlay with the name "Work"
  bool select_museum;            // a stored place "m" at kMuseum is selected
  // Expected:
  bool asks;
  LatLon from;
  std::string origin_name;
  LatLon to;
};

TEST(StartRouting, EndpointsEstimateStatusAndJob) {
  const std::vector<RoutingCase> cases = {
      {"nothing to go to", true, std::nullopt, std::nullopt, false, false, {}, "Map centre", {}},
      {"the selection supplies the destination", true, std::nullopt, std::nullopt, true, true, kCentre, "Map centre",
       kMuseum},
      {"a set destination wins over the selection", true, std::nullopt, kHome, true, true, kCentre, "Map centre",
       kHome},
      {"a set origin is kept with its name", true, kHome, kMuseum, false, true, kHome, "Home", kMuseum},
      {"not live: the same, without a job", false, std::nullopt, kMuseum, false, true, kCentre, "Map centre", kMuseum},
  };
  for (const RoutingCase& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel model = default_map_model();
    model.mode = TravelMode::Bike;
    model.places = {Place{"m", "Museum", Category::Museum, "", kMuseum, false}};
    TickFixture f(c.live, model);
    f.tick();  // seeds the document
    if (c.origin) f.app->transient.set_origin(f.model(), c.origin, "Home");
    if (c.dest) f.app->transient.set_dest(f.model(), c.dest, "Work");
    if (c.select_museum) f.model().selected = "m";
    f.model().status = "Ready";

    start_routing(f.app->session());

    if (!c.asks) {
      EXPECT_FALSE(f.model().route.has_value());
      EXPECT_FALSE(f.model().origin.has_value());
      EXPECT_EQ(f.model().status, "Ready");
      EXPECT_EQ(f.app->backend.pending_jobs, 0u);
      EXPECT_TRUE(f.jobs->requests.empty());
      EXPECT_TRUE(f.app->transient.empty());
      continue;
    }
    const Route estimate = offline_route_estimate(TravelMode::Bike, c.from, c.to);
    EXPECT_EQ(f.model().origin, std::optional(c.from));
    EXPECT_EQ(f.model().origin_name, c.origin_name);
    EXPECT_EQ(f.model().dest, std::optional(c.to));
    EXPECT_EQ(f.model().route, std::optional(estimate)) << "the estimate is shown at once";
    EXPECT_TRUE(f.app->panel.expanded);
    EXPECT_EQ(f.model().status, "Routing\u2026");
    EXPECT_EQ(f.app->backend.pending_jobs, 1u);
    const std::vector<RouteJob> want_jobs =
        c.live ? std::vector<RouteJob>{{TravelMode::Bike, c.from, c.to, 1}} : std::vector<RouteJob>{};
    EXPECT_EQ(f.jobs->of_kind<RouteJob>(), want_jobs);
    // The document still holds no route and no endpoints; the overlay keeps what was written.
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(estimate));
    EXPECT_EQ(f.model().origin, std::optional(c.from));
    EXPECT_EQ(f.model().origin_name, c.origin_name);
    EXPECT_EQ(f.model().dest, std::optional(c.to));
    EXPECT_EQ(f.model().status, "Routing\u2026") << "nothing has answered yet";
  }
}

TEST(StartRouting, TheAnswerIsCommittedWithTheRequestsEndpointsAndFailureKeepsTheEstimate) {
  {
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    const Route answer = make_route(kCentre.lat, kMuseum.lat);
    f.send(worker::Route{answer, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(answer));
    EXPECT_EQ(f.model().origin, std::optional(kCentre));
    EXPECT_EQ(f.model().origin_name, "Map centre");
    EXPECT_EQ(f.model().dest_name, "Museum");
    EXPECT_EQ(f.model().status, "Route updated");
    EXPECT_TRUE(f.app->transient.empty()) << "the committed plan covers every value of the request";
  }
  {
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    const std::optional<Route> estimate = f.model().route;
    f.send(worker::Route{base::err(base::ErrorKind::ServiceError, "HTTP 503 Service Unavailable", 503), 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, estimate);
    EXPECT_EQ(f.model().dest, std::optional(kMuseum));
    EXPECT_EQ(f.model().status,
              "Routing failed (offline estimate shown): the routing service answered with an error (HTTP 503)");
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  }
}

// Route and journey answers arrive in the order their threads finish. Only the answer to the
// latest request counts; an earlier one only comes off the pending count.
TEST(PlanAnswers, AnAnswerToAnEarlierRequestIsDropped) {
  constexpr LatLon kPark{48.16, 11.58};
  const Route to_museum = make_route(kCentre.lat, kMuseum.lat);
  const Route to_park = make_route(kCentre.lat, kPark.lat);
  {
    SCOPED_TRACE("the destination changed while the first route was on its way");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    f.app->transient.set_dest(f.model(), kPark, "Park");
    start_routing(f.app->session());
    const auto jobs = f.jobs->of_kind<RouteJob>();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0].request, 1u);
    EXPECT_EQ(jobs[1].request, 2u);
    EXPECT_EQ(f.app->backend.pending_jobs, 2u);

    f.send(worker::Route{to_museum, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(offline_route_estimate(TravelMode::Car, kCentre, kPark)))
        << "the estimate for the new destination stays until its own answer";
    EXPECT_EQ(f.model().dest_name, "Park");
    EXPECT_EQ(f.model().status, "Routing\u2026");
    EXPECT_EQ(f.app->backend.pending_jobs, 1u);

    f.send(worker::Route{to_park, 2});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(to_park));
    EXPECT_EQ(f.model().dest, std::optional(kPark));
    EXPECT_EQ(f.model().dest_name, "Park");
    EXPECT_EQ(f.model().status, "Route updated");
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  }
  {
    SCOPED_TRACE("answers in the other order: the late old route and its failure change nothing");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    f.app->transient.set_dest(f.model(), kPark, "Park");
    start_routing(f.app->session());
    f.send(worker::Route{to_park, 2});
    f.send(worker::Route{to_museum, 1});
    f.send(worker::Route{base::err("NoRoute"), 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(to_park));
    EXPECT_EQ(f.model().dest_name, "Park");
    EXPECT_EQ(f.model().status, "Route updated");
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  }
  {
    SCOPED_TRACE("a journey search replaces a road route request");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    start_transit_search(f.app->session());
    f.advance(kJourneyAskPause);
    f.tick();
    ASSERT_EQ(f.jobs->of_kind<TransitJob>().size(), 1u);
    EXPECT_EQ(f.jobs->of_kind<TransitJob>()[0].request, 2u);
    f.send(worker::Route{to_museum, 1});
    tick_a_few(f);
    EXPECT_FALSE(f.model().route.has_value()) << "no road route in the journey plan";
    EXPECT_EQ(f.model().status, "Finding departures\u2026");
    const std::vector<TransitJourney> answer = {journey("10:05")};
    f.send(worker::Transit{answer, 2});
    f.send(worker::Transit{std::vector<TransitJourney>{journey("09:00")}, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().transit, answer);
    EXPECT_FALSE(f.model().route.has_value());
    EXPECT_EQ(f.model().status, "Departures updated");
  }
}

// A place opened on the map while a route is on its way becomes the destination without a new
// request; the answer still describes the trip it was asked for and is stored with that trip's
// endpoints, not with the new place's name.
TEST(PlanAnswers, AnAnswerKeepsTheEndpointsItWasAskedFor) {
  {
    MapModel model = default_map_model();
    model.places = {Place{"park", "Park", Category::Park, "", LatLon{48.16, 11.58}, false}};
    TickFixture f(true, model);
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    select_place(f.app->session(), "park");
    ASSERT_EQ(f.model().dest_name, "Park");
    const Route answer = make_route(kCentre.lat, kMuseum.lat);
    f.send(worker::Route{answer, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(answer));
    EXPECT_EQ(f.model().dest, std::optional(kMuseum));
    EXPECT_EQ(f.model().dest_name, "Museum");
    EXPECT_EQ(f.model().origin, std::optional(kCentre));
    EXPECT_EQ(f.model().selected, std::optional<std::string>("park")) << "the selection stays";
  }
  {
    // The address found for the origin since the request is kept: the origin has not moved.
    TickFixture f;
    f.tick();
    f.app->transient.set_origin(f.model(), kHome, "Current location");
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_transit_search(f.app->session());
    f.app->transient.set_origin_name(f.model(), "Leopoldstra\u00dfe 12");
    const std::vector<TransitJourney> answer = {journey("10:05")};
    f.send(worker::Transit{answer, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().transit, answer);
    EXPECT_EQ(f.model().origin, std::optional(kHome));
    EXPECT_EQ(f.model().origin_name, "Leopoldstra\u00dfe 12");
    EXPECT_EQ(f.model().dest_name, "Museum");
  }
}

// A plan cleared, or a travel mode chosen without a new request, before the answer comes: the
// answer no longer answers anything; it only comes off the count, and the "Routing…" status
// ends with it.
TEST(PlanAnswers, AnAnswerToAClearedPlanOrAnotherModeIsDropped) {
  const Route answer = make_route(kCentre.lat, kMuseum.lat);
  {
    SCOPED_TRACE("the route was cleared");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    clear_route(f.app->session(), f.state);
    EXPECT_FALSE(f.model().route.has_value());
    f.send(worker::Route{answer, 1});
    tick_a_few(f);
    EXPECT_FALSE(f.model().route.has_value()) << "the cleared route does not come back";
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
    EXPECT_NE(f.model().status, "Routing\u2026");
    EXPECT_NE(f.model().status, "Route updated");
  }
  {
    SCOPED_TRACE("clearing the road route leaves a journey search on its way");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_transit_search(f.app->session());
    clear_route(f.app->session(), f.state);
    const std::vector<TransitJourney> journeys = {journey("10:05")};
    f.send(worker::Transit{journeys, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().transit, journeys);
    EXPECT_EQ(f.model().status, "Departures updated");
  }
  {
    SCOPED_TRACE("the travel mode was committed on its own while a car route was on its way");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                  MapsAction{MapsAction::SetTravelMode{TravelMode::Foot}});
    ASSERT_EQ(f.model().mode, TravelMode::Foot);
    f.send(worker::Route{answer, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().mode, TravelMode::Foot) << "a car route would be stored as a walk";
    EXPECT_NE(f.model().route, std::optional(answer));
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
    EXPECT_NE(f.model().status, "Routing\u2026");
  }
  {
    SCOPED_TRACE("the travel mode left Transit while journeys were on their way");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_transit_search(f.app->session());
    commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                  MapsAction{MapsAction::SetTravelMode{TravelMode::Bike}});
    f.send(worker::Transit{std::vector<TransitJourney>{journey("10:05")}, 1});
    tick_a_few(f);
    EXPECT_EQ(f.model().mode, TravelMode::Bike);
    EXPECT_TRUE(f.model().transit.empty());
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
    EXPECT_NE(f.model().status, "Finding departures\u2026");
  }
  {
    SCOPED_TRACE("a new request after clearing is answered as usual");
    TickFixture f;
    f.tick();
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    start_routing(f.app->session());
    clear_route(f.app->session(), f.state);
    start_routing(f.app->session());
    f.send(worker::Route{answer, 2});
    tick_a_few(f);
    EXPECT_EQ(f.model().route, std::optional(answer));
    EXPECT_EQ(f.model().status, "Route updated");
  }
}

struct TransitTimeCase {
  TransitTime time;
  bool has_time;
  std::int64_t offset_min;
  bool arrive_by;
};

TEST(StartTransitSearch, QueryTimeFollowsTheJourneyTime) {
  const std::vector<TransitTimeCase> cases = {
      {{TransitTimeMode::Depart, 0}, false, 0, false},
      {{TransitTimeMode::Arrive, 0}, true, 0, true},
      {{TransitTimeMode::Depart, 45}, true, 45, false},
      {{TransitTimeMode::Arrive, 60}, true, 60, true},
  };
  for (const TransitTimeCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.time.offset_min << (c.arrive_by ? " arrive" : " depart"));
    TickFixture f;
    f.model().transit_time = c.time;
    f.app->transient.set_dest(f.model(), kMuseum, "Museum");
    const LocalDateTime before = f.app->now_local();
    start_transit_search(f.app->session());
    const LocalDateTime after = f.app->now_local();
    f.advance(kJourneyAskPause);
    f.tick();
    const auto jobs = f.jobs->of_kind<TransitJob>();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].from, kCentre);
    EXPECT_EQ(jobs[0].to, kMuseum);
    EXPECT_EQ(jobs[0].query.arrive_by, c.arrive_by);
    ASSERT_EQ(jobs[0].query.time.has_value(), c.has_time);
    if (c.has_time) {
      // The clock may tick between the two readings.
      const std::string a = before.plus_minutes(c.offset_min).to_rfc3339();
      const std::string b = after.plus_minutes(c.offset_min).to_rfc3339();
      EXPECT_TRUE(*jobs[0].query.time == a || *jobs[0].query.time == b) << *jobs[0].query.time;
    }
  }
}

TEST(StartTransitSearch, ClearsTheRouteAndTheJourneysOverTheDocumentUntilTheAnswer) {
  TickFixture f;
  f.tick();
  // The document holds a road route and journeys from earlier plans.
  f.app->commits.override = nullptr;
  commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                MapsAction{MapsAction::SetRoute{make_route(), kHome, "Home", kMuseum, "Museum", TravelMode::Car}});
  commit_action(
      f.app->model, f.app->transient, f.app->commits, f.state,
      MapsAction{MapsAction::SetTransit{{journey("09:00"), journey("09:15")}, kHome, "Home", kMuseum, "Museum"}});
  commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                MapsAction{MapsAction::SetTravelMode{TravelMode::Car}});
  f.model().transit_choice = 1;
  f.model().panel = Panel::Explore;
  ASSERT_TRUE(f.model().route.has_value());
  ASSERT_EQ(f.model().transit.size(), 2u);

  start_transit_search(f.app->session());
  const auto check_requested = [&] {
    EXPECT_EQ(f.model().panel, Panel::Directions);
    EXPECT_EQ(f.model().mode, TravelMode::Transit);
    EXPECT_EQ(f.model().transit_choice, 0u);
    EXPECT_FALSE(f.model().route.has_value());
    EXPECT_TRUE(f.model().transit.empty());
    EXPECT_EQ(f.model().origin, std::optional(kHome));
    EXPECT_EQ(f.model().dest, std::optional(kMuseum));
  };
  check_requested();
  EXPECT_TRUE(f.app->panel.expanded);
  EXPECT_EQ(f.model().status, "Finding departures\u2026");
  EXPECT_EQ(f.app->backend.pending_jobs, 0u) << "asked for once the asking pauses";
  f.advance(kJourneyAskPause);
  f.tick();
  EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  EXPECT_NEAR(f.model().center.lat, (kHome.lat + kMuseum.lat) / 2, 1e-9) << "fitted to the two ends";
  EXPECT_NEAR(f.model().center.lon, (kHome.lon + kMuseum.lon) / 2, 1e-9);
  tick_a_few(f);
  check_requested();

  const std::vector<TransitJourney> answer = {journey("10:05")};
  f.send(worker::Transit{answer, 1});
  tick_a_few(f);
  EXPECT_EQ(f.model().transit, answer);
  EXPECT_EQ(f.model().mode, TravelMode::Transit);
  EXPECT_FALSE(f.model().route.has_value()) << "the road route stays cleared";
  EXPECT_EQ(f.model().status, "Departures updated");
}

TEST(StartTransitSearch, FailureLeavesTheJourneysEmptyWithTheErrorText) {
  TickFixture f;
  f.tick();
  f.app->commits.override = nullptr;
  commit_action(f.app->model, f.app->transient, f.app->commits, f.state,
                MapsAction{MapsAction::SetTransit{{journey("09:00")}, kHome, "Home", kMuseum, "Museum"}});
  start_transit_search(f.app->session());
  f.send(worker::Transit{base::err(base::ErrorKind::ServiceError, "HTTP 503 Service Unavailable", 503), 1});
  tick_a_few(f);
  EXPECT_TRUE(f.model().transit.empty());
  EXPECT_EQ(f.model().status, "Transit lookup failed: the transit planner answered with an error (HTTP 503)");
}

TEST(StartTransitSearch, WithoutADestinationNothingHappens) {
  TickFixture f;
  f.model().mode = TravelMode::Car;
  start_transit_search(f.app->session());
  EXPECT_EQ(f.model().mode, TravelMode::Car);
  EXPECT_EQ(f.model().panel, Panel::Explore);
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  EXPECT_TRUE(f.jobs->requests.empty());
  EXPECT_TRUE(f.app->transient.empty());
}

// A place just picked is centred, so the map centre as the start would plan from the place to
// itself. Within 100 m of the destination the device position stands in when one is known;
// otherwise the start field waits, focused, and no service is asked until a start is chosen.
TEST(StandInOrigin, ACentreOnTheDestinationIsNoStart) {
  constexpr LatLon kNearMuseum{48.15, 11.6012};     // about 90 m east of kMuseum
  constexpr LatLon kFarFromMuseum{48.15, 11.6020};  // about 150 m
  constexpr LatLon kFix{48.12, 11.53};
  struct Case {
    const char* name;
    LatLon centre;
    std::optional<LatLon> fix;
    TravelMode mode;
    // Expected: the start, or none.
    std::optional<LatLon> from;
    std::string origin_name;
  };
  const Case cases[] = {
      {"on the destination", kMuseum, std::nullopt, TravelMode::Car, std::nullopt, "Map centre"},
      {"90 m away", kNearMuseum, std::nullopt, TravelMode::Foot, std::nullopt, "Map centre"},
      {"on the destination, journeys", kMuseum, std::nullopt, TravelMode::Transit, std::nullopt, "Map centre"},
      {"on the destination, the device located", kMuseum, kFix, TravelMode::Car, kFix, "Current location"},
      {"on the destination, the device located, journeys", kMuseum, kFix, TravelMode::Transit, kFix,
       "Current location"},
      {"150 m away: the map centre", kFarFromMuseum, kFix, TravelMode::Car, kFarFromMuseum, "Map centre"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel model = default_map_model();
    model.mode = c.mode;
    model.places = {Place{"m", "Museum", Category::Museum, "", kMuseum, false}};
    TickFixture f(true, model);
    f.tick();
    f.app->backend.location.located_fix = c.fix;
    select_place(f.app->session(), "m");
    f.model().center = c.centre;
    route_message(*f.app, UiMessage{msg::Directions{}}, f.state);
    tick_a_few(f);
    f.advance(kJourneyAskPause);
    f.tick();

    EXPECT_EQ(f.model().panel, Panel::Directions);
    EXPECT_EQ(f.model().origin, c.from);
    EXPECT_EQ(f.model().origin_name, c.origin_name);
    const auto routes = f.jobs->of_kind<RouteJob>();
    const auto journeys = f.jobs->of_kind<TransitJob>();
    if (!c.from) {
      EXPECT_TRUE(f.jobs->requests.empty());
      EXPECT_EQ(f.app->backend.pending_jobs, 0u);
      EXPECT_FALSE(f.model().route.has_value()) << "no estimate from the place to itself";
      EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::Origin) << "the start field waits for a start";
      continue;
    }
    if (c.mode == TravelMode::Transit) {
      ASSERT_EQ(journeys.size(), 1u);
      EXPECT_EQ(journeys[0].from, *c.from);
    } else {
      ASSERT_EQ(routes.size(), 1u);
      EXPECT_EQ(routes[0].from, *c.from);
      EXPECT_EQ(routes[0].to, kMuseum);
    }
    EXPECT_EQ(f.app->endpoint_editor.active(), EndpointField::None);
  }
}

TEST(StandInOrigin, AStartChosenInTheWaitingFieldAsksForThePlan) {
  MapModel model = default_map_model();
  model.places = {Place{"m", "Museum", Category::Museum, "", kMuseum, false}};
  TickFixture f(true, model);
  f.tick();
  f.app->transient.set_route(f.model(), make_route());  // a route shown for earlier endpoints
  select_place(f.app->session(), "m");
  route_message(*f.app, UiMessage{msg::Directions{}}, f.state);
  EXPECT_FALSE(f.model().route.has_value());
  ASSERT_TRUE(f.jobs->requests.empty());

  const Place home{"h", "Home", Category::Other, "", kHome, false};
  handle_endpoint_editor_event(f.app->session(),
                               EndpointEvent{EndpointEvent::SuggestionChosen{home, EndpointField::Origin}}, &f.state);
  const auto routes = f.jobs->of_kind<RouteJob>();
  ASSERT_EQ(routes.size(), 1u);
  EXPECT_EQ(routes[0].from, kHome);
  EXPECT_EQ(routes[0].to, kMuseum);
  EXPECT_EQ(f.model().origin_name, "Home");
}

TEST(UseMapCentreAsOrigin, NamesTheCentreOnlyWhenThereIsNoOrigin) {
  TickFixture f;
  f.model().origin_name = "Somewhere";
  EXPECT_EQ(use_map_centre_as_origin(f.app->session()), kCentre);
  EXPECT_EQ(f.model().origin_name, "Map centre");
  EXPECT_FALSE(f.model().origin.has_value()) << "the callers set the origin";

  f.app->transient.set_origin(f.model(), kHome, "Home");
  EXPECT_EQ(use_map_centre_as_origin(f.app->session()), kHome);
  EXPECT_EQ(f.model().origin_name, "Home");
}

TEST(DirectionsToPoi, ThePlaceMadeFromThePointIsStoredBeforeItIsSelected) {
  TickFixture f;
  f.tick();
  f.app->commits.override = nullptr;
  Poi poi;
  poi.id = "osm-node-7";
  poi.name = "Glockenspiel Café";
  poi.category = Category::Cafe;
  poi.address = "Marienplatz 28";
  poi.pos = kMuseum;
  f.app->backend.view_pois.pois = {poi};
  f.app->selected_poi = poi.id;
  route_message(*f.app, UiMessage{msg::DirectionsToPoi{}}, f.state);
  tick_a_few(f);  // hydration used to take the place away again
  const auto selected = selected_place(f.app->model);
  ASSERT_TRUE(selected.has_value());
  EXPECT_EQ(*selected, (Place{poi.id, poi.name, poi.category, poi.address, poi.pos, false}));
  EXPECT_EQ(f.model().dest, std::optional(kMuseum));
  EXPECT_EQ(f.model().dest_name, poi.name);
  EXPECT_EQ(f.model().panel, Panel::Directions);
  EXPECT_FALSE(f.app->selected_poi.has_value());
  EXPECT_EQ(f.jobs->of_kind<RouteJob>(), (std::vector<RouteJob>{{TravelMode::Car, kCentre, kMuseum, 1}}));
}

struct SelectCase {
  const char* name;
  std::string id;
  bool changes_journeys;
  bool sets_dest;
};

TEST(SelectPlace, DestinationCentreAndJourneys) {
  const std::vector<SelectCase> cases = {
      {"the selected place again keeps the journeys", "a", false, true},
      {"another place empties them", "b", true, true},
      {"an unknown id still selects, but leaves the destination", "zz", true, false},
  };
  for (const SelectCase& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel model = default_map_model();
    model.places = {make_place("a", 48.11, 11.51), make_place("b", 48.12, 11.52)};
    model.selected = "a";
    model.transit = {journey("09:00"), journey("09:30")};
    model.transit_choice = 1;
    TickFixture f(true, model);
    f.tick();
    select_place(f.app->session(), c.id);
    tick_a_few(f);
    EXPECT_EQ(f.model().selected, std::optional(c.id));
    EXPECT_TRUE(f.app->panel.expanded);
    EXPECT_EQ(f.model().transit.size(), c.changes_journeys ? 0u : 2u);
    EXPECT_EQ(f.model().transit_choice, c.changes_journeys ? 0u : 1u);
    if (c.sets_dest) {
      const Place p = *find_place(f.app->model, c.id);
      EXPECT_EQ(f.model().dest, std::optional(p.pos));
      EXPECT_EQ(f.model().dest_name, p.name);
      EXPECT_EQ(f.model().center, p.pos);
    } else {
      EXPECT_FALSE(f.model().dest.has_value());
      EXPECT_EQ(f.model().center, kCentre);
    }
  }
}

struct PickCase {
  const char* name;
  Panel panel;
  TravelMode mode;
  std::string id;  // picked; "a" is the destination the plan shown leads to
  bool asks;
};

// Picking a place while the directions show: the fields and the plan must name the same place.
TEST(SelectPlace, APlacePickedWhileTheDirectionsShowIsPlannedFor) {
  const std::vector<PickCase> cases = {
      {"a route to another place", Panel::Directions, TravelMode::Car, "b", true},
      {"journeys to another place", Panel::Directions, TravelMode::Transit, "b", true},
      {"the destination itself again", Panel::Directions, TravelMode::Car, "a", false},
      {"the places panel only selects", Panel::Explore, TravelMode::Car, "b", false},
  };
  for (const PickCase& c : cases) {
    SCOPED_TRACE(c.name);
    MapModel model = default_map_model();
    model.places = {make_place("a", 48.11, 11.51), make_place("b", 48.15, 11.60)};
    model.mode = c.mode;
    TickFixture f(true, model);
    f.tick();
    f.app->transient.set_origin(f.model(), kHome, "Home");
    select_place(f.app->session(), "a");
    open_directions(f.app->session());
    f.advance(kJourneyAskPause);
    tick_a_few(f);
    f.model().panel = c.panel;
    const std::size_t asked = f.jobs->requests.size();

    EXPECT_EQ(select_place(f.app->session(), c.id), c.asks);
    f.advance(kJourneyAskPause);
    tick_a_few(f);

    const Place picked = *find_place(f.app->model, c.id);
    EXPECT_EQ(f.model().dest, std::optional(picked.pos));
    EXPECT_EQ(f.model().dest_name, picked.name);
    ASSERT_EQ(f.jobs->requests.size(), asked + (c.asks ? 1u : 0u));
    if (!c.asks) continue;
    if (c.mode == TravelMode::Transit) {
      const auto journeys = f.jobs->of_kind<TransitJob>();
      EXPECT_EQ(journeys.back().from, kHome);
      EXPECT_EQ(journeys.back().to, picked.pos);
    } else {
      const auto routes = f.jobs->of_kind<RouteJob>();
      EXPECT_EQ(routes.back().from, kHome);
      EXPECT_EQ(routes.back().to, picked.pos);
      ASSERT_TRUE(f.model().route.has_value());
      EXPECT_EQ(f.model().route->to, picked.pos) << "the estimate shown leads there too";
    }
  }
}

}  // namespace
}  // namespace maps

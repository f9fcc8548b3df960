// A start the person chose stays until they change, swap or clear it: across travel-mode
// switches, folding the side panel, a restart and a search run again from the recent list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ui_messages.hpp"
#include "messages/endpoint_event.hpp"
#include "tick_fixture.hpp"
#include "transitions/messages.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"

namespace maps {
namespace {

using testing::TickFixture;

const Place kMarienplatz{"n:1", "Marienplatz", Category::Transit, "Marienplatz, München", {48.137393, 11.575449},
                         false};
const Place kHauptbahnhof{"n:2", "Hauptbahnhof", Category::Transit, "Arnulfstraße, München", {48.1412, 11.558}, false};

Route road_route(const RouteJob& job) {
  Route r;
  r.mode = job.mode;
  r.distance_m = 1700.0;
  r.duration_s = 240.0;
  r.geometry = {job.from, job.to};
  r.from = job.from;
  r.to = job.to;
  return r;
}

// Answers every road-route request made since the last call, in the order they went out.
void answer_routes(TickFixture& f, std::size_t& answered) {
  const std::vector<RouteJob> jobs = f.jobs->of_kind<RouteJob>();
  for (; answered < jobs.size(); ++answered) {
    f.send(worker::Route{road_route(jobs[answered]), jobs[answered].request});
  }
  f.tick();
}

// A new state: the destination Marienplatz, the start Hauptbahnhof picked from its suggestions,
// and the road route between them answered.
void route_from_the_hauptbahnhof(TickFixture& f) {
  f.tick();
  std::size_t answered = 0;
  f.app->transient.set_dest(f.model(), kMarienplatz.pos, kMarienplatz.name);
  handle_endpoint_editor_event(
      f.app->session(), EndpointEvent{EndpointEvent::SuggestionChosen{kHauptbahnhof, EndpointField::Origin}}, &f.state);
  answer_routes(f, answered);
}

void message(TickFixture& f, UiMessage m) {
  route_message(*f.app, m, f.state);
  f.tick();
}

TEST(ChosenStart, StaysAcrossModesPanelFoldingARestartAndARecentSearch) {
  TickFixture f;
  f.tick();  // seeds the document
  std::size_t routes = 0;

  // Search "Marienplatz" and pick it.
  f.model().query = "Marienplatz";
  submit_search(f.app->session(), &f.state);
  f.send(worker::PlaceSearch{std::vector<Place>{kMarienplatz}, "Marienplatz"});
  f.tick();
  message(f, UiMessage{msg::OpenPlace{kMarienplatz.id}});

  // Directions, then the start field: "Hauptbahnhof", its suggestion picked.
  message(f, UiMessage{msg::Directions{}});
  answer_routes(f, routes);
  handle_endpoint_editor_event(
      f.app->session(), EndpointEvent{EndpointEvent::SuggestionChosen{kHauptbahnhof, EndpointField::Origin}}, &f.state);
  f.tick();
  answer_routes(f, routes);
  ASSERT_EQ(f.model().origin, kHauptbahnhof.pos);

  // Cycle, Walk, Drive; each answer comes while the next mode is being chosen.
  for (TravelMode mode : {TravelMode::Bike, TravelMode::Foot, TravelMode::Car}) {
    message(f, UiMessage{msg::ChooseTravelMode{mode}});
    EXPECT_EQ(f.model().origin, kHauptbahnhof.pos);
  }
  answer_routes(f, routes);
  message(f, UiMessage{msg::TogglePanelCollapsed{}});
  message(f, UiMessage{msg::TogglePanelCollapsed{}});
  EXPECT_EQ(f.model().origin, kHauptbahnhof.pos);
  EXPECT_EQ(f.model().origin_name, "Hauptbahnhof");

  // Quit and start again on the same document.
  f.restart();
  f.tick();
  EXPECT_EQ(f.model().origin, kHauptbahnhof.pos);
  ASSERT_EQ(f.model().recents, std::vector<std::string>{"Marienplatz"});

  // The recent search, its answer, then Transit.
  message(f, UiMessage{msg::SearchAgain{"Marienplatz"}});
  f.send(worker::PlaceSearch{std::vector<Place>{kMarienplatz}, "Marienplatz"});
  f.tick();
  message(f, UiMessage{msg::TransitDirections{}});
  f.advance(std::chrono::seconds(1));
  f.tick();

  const std::vector<TransitJob> journeys = f.jobs->of_kind<TransitJob>();
  ASSERT_EQ(journeys.size(), 1u);
  EXPECT_EQ(journeys[0].from, kHauptbahnhof.pos);
  EXPECT_EQ(journeys[0].to, kMarienplatz.pos);
  EXPECT_EQ(f.model().origin, kHauptbahnhof.pos);
  EXPECT_EQ(f.model().origin_name, "Hauptbahnhof");
  EXPECT_EQ(f.model().dest_name, "Marienplatz");
}

// "End" ends the route and its start; the destination stays in its field, also after a restart,
// and the next plan waits for a start or takes the map centre.
TEST(ChosenStart, EndingTheRouteEndsItsStartAndKeepsTheDestination) {
  TickFixture f;
  route_from_the_hauptbahnhof(f);
  ASSERT_TRUE(f.model().route.has_value());

  message(f, UiMessage{msg::ClearRoute{}});
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run == 0 ? "after End" : "after a restart");
    EXPECT_FALSE(f.model().route.has_value());
    EXPECT_EQ(f.model().origin, std::nullopt);
    EXPECT_EQ(f.model().dest, kMarienplatz.pos);
    EXPECT_EQ(f.model().dest_name, "Marienplatz");
    f.restart();
    f.tick();
  }
}

// A journey search clears the road route on screen, but the document keeps that route for the
// other modes: opened again in the Transit mode, the app shows the journeys alone, and the start
// still leads the next road route.
TEST(ChosenStart, ARestartInTheTransitModeShowsTheJourneysAlone) {
  TickFixture f;
  route_from_the_hauptbahnhof(f);
  ASSERT_TRUE(f.model().route.has_value());

  message(f, UiMessage{msg::ChooseTravelMode{TravelMode::Transit}});
  f.advance(std::chrono::seconds(1));
  f.tick();
  const std::vector<TransitJob> asked = f.jobs->of_kind<TransitJob>();
  ASSERT_EQ(asked.size(), 1u);
  TransitJourney journey;
  journey.dep = "12:04";
  journey.arr = "12:16";
  journey.legs.resize(1);
  journey.legs[0].geometry = {asked[0].from, asked[0].to};
  f.send(worker::Transit{std::vector<TransitJourney>{journey}, asked[0].request});
  f.tick();
  ASSERT_EQ(f.model().transit.size(), 1u);
  ASSERT_FALSE(f.model().route.has_value());

  f.restart();
  f.tick();
  EXPECT_EQ(f.model().mode, TravelMode::Transit);
  EXPECT_EQ(f.model().transit.size(), 1u);
  EXPECT_FALSE(f.model().route.has_value()) << "the road route the journeys replaced came back";
  EXPECT_EQ(f.model().origin, kHauptbahnhof.pos);

  message(f, UiMessage{msg::ChooseTravelMode{TravelMode::Car}});
  const std::vector<RouteJob> road = f.jobs->of_kind<RouteJob>();
  ASSERT_EQ(road.size(), 1u);
  EXPECT_EQ(road[0].from, kHauptbahnhof.pos);
  EXPECT_EQ(road[0].to, kMarienplatz.pos);
  EXPECT_TRUE(f.model().route.has_value()) << "the estimate shows while the route is asked for";
}

}  // namespace
}  // namespace maps

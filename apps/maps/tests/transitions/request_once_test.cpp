// Requests to the public services go out once: a search sent on the typing pause is not sent
// again on Enter for the same text, and journeys are asked for once the asking pauses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ui_messages.hpp"
#include "messages/endpoint_event.hpp"
#include "search_box/search_box_tick.hpp"
#include "tick_fixture.hpp"
#include "transitions/messages.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using testing::make_place;
using testing::TickFixture;

// The typing pause of the search box passes with `text` typed.
void typing_pause(TickFixture& f, const std::string& text) {
  f.model().query = text;
  f.app->search_box.open();
  f.app->search_box.arm_deadline(f.now());
  f.tick();
}

void press_enter(TickFixture& f, const std::string& text) {
  f.model().query = text;
  f.app->search_box.close_search_suggestions();
  submit_search(f.app->session(), &f.state);
}

TEST(RequestOnce, EnterAfterTheTypingPauseAsksTheGeocoderOnce) {
  const Place hit = make_place("m", 48.1374, 11.5755);
  struct Case {
    const char* name;
    bool answer_before_enter;
    bool answer_fails;
    std::string entered;
    std::size_t jobs;  // place-search jobs in all
  } cases[] = {
      {"Enter after the answer takes it again", true, false, "Marienplatz", 1},
      {"Enter while it is on its way waits for it", false, false, "Marienplatz", 1},
      {"a failed answer lets Enter ask again", true, true, "Marienplatz", 2},
      {"another text is asked for", true, false, "Odeonsplatz", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TickFixture f;
    f.tick();
    typing_pause(f, "Marienplatz");
    ASSERT_EQ(f.jobs->of_kind<PlaceSearchJob>().size(), 1u);
    const WorkerResult answer = c.answer_fails
                                    ? WorkerResult{worker::PlaceSearch{base::err("timed out"), "Marienplatz"}}
                                    : WorkerResult{worker::PlaceSearch{std::vector<Place>{hit}, "Marienplatz"}};
    if (c.answer_before_enter) {
      f.send(answer);
      f.tick();
    }
    press_enter(f, c.entered);
    EXPECT_EQ(f.model().status, "Searching\u2026");
    if (!c.answer_before_enter) f.send(answer);
    f.tick();

    const auto jobs = f.jobs->of_kind<PlaceSearchJob>();
    EXPECT_EQ(jobs.size(), c.jobs);
    if (c.jobs == 2) {
      EXPECT_EQ(jobs[1].query, c.entered);
      continue;
    }
    // The one answer stands for the submitted search: its place is the result and selected.
    ASSERT_EQ(f.model().results.size(), 1u);
    EXPECT_EQ(f.model().results[0].id, "m");
    EXPECT_EQ(f.model().selected, std::optional<std::string>("m"));
    EXPECT_EQ(f.model().status, "1 result for \u201cMarienplatz\u201d");
    EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  }
}

TEST(RequestOnce, EnterInAnEndpointFieldAfterItsTypingPauseAsksOnce) {
  TickFixture f;
  f.tick();
  const EndpointEvent submitted{EndpointEvent::Submitted{"Hauptbahnhof", EndpointField::Origin}};
  handle_endpoint_editor_event(f.app->session(), submitted);  // the typing pause
  f.send(worker::EndpointSearch{std::vector<Place>{make_place("h")}, "Hauptbahnhof", EndpointField::Origin});
  f.tick();
  f.app->endpoint_editor.set_endpoint_suggestions(EndpointField::Origin, {});
  handle_endpoint_editor_event(f.app->session(), submitted);  // Enter
  f.tick();
  EXPECT_EQ(f.jobs->of_kind<EndpointSearchJob>().size(), 1u);
  ASSERT_EQ(f.app->endpoint_editor.suggestions(EndpointField::Origin).size(), 1u);
  EXPECT_EQ(f.app->endpoint_editor.suggestions(EndpointField::Origin)[0].id, "h");
  // The same text in the other field is another search.
  handle_endpoint_editor_event(f.app->session(),
                               EndpointEvent{EndpointEvent::Submitted{"Hauptbahnhof", EndpointField::Destination}});
  EXPECT_EQ(f.jobs->of_kind<EndpointSearchJob>().size(), 2u);
}

// Shifting the journey time step after step (or holding a key) sends one journey request, for
// the last time asked, once the steps pause for 300 ms.
TEST(RequestOnce, JourneysAreAskedForOnceTheShiftingPauses) {
  MapModel model = default_map_model();
  model.mode = TravelMode::Transit;
  TickFixture f(true, model);
  f.tick();
  f.app->transient.set_origin(f.model(), LatLon{48.14, 11.56}, "Home");
  f.app->transient.set_dest(f.model(), LatLon{48.15, 11.60}, "Museum");
  LocalDateTime last_asked;
  for (int step = 0; step < 18; ++step) {
    last_asked = f.app->now_local();
    route_message(*f.app, UiMessage{msg::ShiftTransitTime{15}}, f.state);
    f.advance(250ms);
    f.tick();
    EXPECT_EQ(f.model().status, "Finding departures\u2026");
  }
  EXPECT_TRUE(f.jobs->of_kind<TransitJob>().empty()) << "nothing goes out while the steps go on";
  EXPECT_TRUE(journeys_awaited(f.app->backend));
  f.advance(50ms);
  f.tick();
  const auto jobs = f.jobs->of_kind<TransitJob>();
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(f.model().transit_time.offset_min, 270);
  // The clock may tick between the readings.
  const std::string asked = last_asked.plus_minutes(270).to_rfc3339();
  const std::string now = f.app->now_local().plus_minutes(270).to_rfc3339();
  ASSERT_TRUE(jobs[0].query.time.has_value());
  EXPECT_TRUE(*jobs[0].query.time == asked || *jobs[0].query.time == now) << *jobs[0].query.time;
  EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  f.advance(1s);
  f.tick();
  EXPECT_EQ(f.jobs->of_kind<TransitJob>().size(), 1u);

  // A road route asked for during the pause takes the waiting journey request's place.
  route_message(*f.app, UiMessage{msg::ShiftTransitTime{15}}, f.state);
  route_message(*f.app, UiMessage{msg::ChooseTravelMode{TravelMode::Car}}, f.state);
  f.advance(1s);
  f.tick();
  EXPECT_EQ(f.jobs->of_kind<TransitJob>().size(), 1u);
  EXPECT_EQ(f.jobs->of_kind<RouteJob>().size(), 1u);
}

}  // namespace
}  // namespace maps

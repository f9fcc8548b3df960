// The tick's one-shot deadlines: search box, view idle with the widened points-of-interest box,
// and the offline panel's area search.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/tick_steps.hpp"
#include "tick_fixture.hpp"
#include "transitions/plans.hpp"
#include "transitions/selection.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using testing::make_place;
using testing::TickFixture;

TEST(TickDeadlines, SearchDeadlineFiresOnceAtItsInstant) {
  TickFixture f;
  f.model().query = "  cafe  ";
  f.app->search_box.arm_deadline(f.now() + 280ms);
  f.advance(279ms);
  f.tick();
  EXPECT_TRUE(f.jobs->requests.empty());
  f.advance(1ms);
  f.tick();
  EXPECT_FALSE(f.app->search_box.deadline().has_value());
  EXPECT_EQ(f.jobs->of_kind<PlaceSearchJob>(), std::vector<PlaceSearchJob>{{"cafe"}});
  EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  EXPECT_EQ(f.model().status, "Searching\u2026");
  f.advance(1s);
  f.tick();
  EXPECT_EQ(f.jobs->requests.size(), 1u);
}

TEST(TickDeadlines, SearchDeadlineCases) {
  struct Case {
    const char* name;
    bool live;
    const char* query;
    std::size_t jobs;
    std::uint32_t pending;
    const char* status;
  };
  const std::vector<Case> cases = {
      {"blank text asks nothing", true, " \t ", 0, 0, "Ready"},
      {"not live keeps count and status raised", false, "cafe", 0, 1, "Searching\u2026"},
      {"live asks", true, "cafe", 1, 1, "Searching\u2026"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TickFixture f(c.live);
    f.model().status = "Ready";
    f.model().query = c.query;
    f.app->search_box.arm_deadline(f.now());
    f.tick();
    EXPECT_FALSE(f.app->search_box.deadline().has_value());
    EXPECT_EQ(f.jobs->requests.size(), c.jobs);
    EXPECT_EQ(f.app->backend.pending_jobs, c.pending);
    EXPECT_EQ(f.model().status, c.status);
  }
}

TEST(TickDeadlines, WidenedBoxArithmetic) {
  struct Case {
    GeoBox visible;
    GeoBox widened;
  };
  const std::vector<Case> cases = {
      {{0.0, 0.0, 1.0, 2.0}, {-0.25, -0.5, 1.25, 2.5}},
      {{48.0, 11.0, 48.4, 11.8}, {47.9, 10.8, 48.5, 12.0}},
      {{-10.0, -20.0, -10.0, -20.0}, {-10.0, -20.0, -10.0, -20.0}},
  };
  for (const Case& c : cases) {
    const GeoBox w = tick_steps::widened_poi_box(c.visible);
    EXPECT_NEAR(w.min_lat, c.widened.min_lat, 1e-12);
    EXPECT_NEAR(w.min_lon, c.widened.min_lon, 1e-12);
    EXPECT_NEAR(w.max_lat, c.widened.max_lat, 1e-12);
    EXPECT_NEAR(w.max_lon, c.widened.max_lon, 1e-12);
  }
}

TEST(TickDeadlines, BoxContainment) {
  const GeoBox outer{0.0, 0.0, 1.0, 1.0};
  EXPECT_TRUE(tick_steps::box_contains(outer, outer));
  EXPECT_TRUE(tick_steps::box_contains(outer, {0.2, 0.2, 0.8, 0.8}));
  EXPECT_FALSE(tick_steps::box_contains(outer, {-0.1, 0.2, 0.8, 0.8}));
  EXPECT_FALSE(tick_steps::box_contains(outer, {0.2, 0.2, 0.8, 1.1}));
}

TEST(TickDeadlines, ViewIdleBeforeLayoutRearmsItself) {
  TickFixture f;
  f.model().zoom = 15.0;
  f.app->backend.view_pois.idle_deadline = f.now();
  f.tick();
  EXPECT_EQ(f.app->backend.view_pois.idle_deadline, std::optional<base::MonoTime>(f.now() + 450ms));
  EXPECT_TRUE(f.jobs->requests.empty());
  EXPECT_EQ(f.app->backend.view_pois.generation, 0u);
}

TEST(TickDeadlines, ViewIdleAsksForTheWidenedBoxOnceWhileTheViewStaysInside) {
  TickFixture f;
  f.app->bounds_rect = Rect{0, 0, 1280, 800};
  f.model().zoom = 15.0;
  f.app->backend.view_pois.idle_deadline = f.now();
  f.tick();
  const GeoBox visible = visible_bounds(f.app->bounds_rect, f.model().center, f.model().zoom);
  const GeoBox box = tick_steps::widened_poi_box(visible);
  EXPECT_EQ(f.app->backend.view_pois.box, std::optional<GeoBox>(box));
  EXPECT_EQ(f.app->backend.view_pois.generation, 1u);
  const std::vector<PoiJob> expected = {{box.min_lat, box.min_lon, box.max_lat, box.max_lon, 1}};
  EXPECT_EQ(f.jobs->of_kind<PoiJob>(), expected);
  EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  EXPECT_EQ(f.model().status, "Loading places\u2026");

  // A pan by a tenth of the view stays inside the widened box: no new request.
  f.model().center.lat += 0.1 * (visible.max_lat - visible.min_lat);
  f.app->backend.view_pois.idle_deadline = f.now();
  f.tick();
  EXPECT_EQ(f.jobs->requests.size(), 1u);
  EXPECT_EQ(f.app->backend.view_pois.generation, 1u);

  // A pan by a whole view leaves it.
  f.model().center.lon += visible.max_lon - visible.min_lon;
  f.app->backend.view_pois.idle_deadline = f.now();
  f.tick();
  ASSERT_EQ(f.jobs->of_kind<PoiJob>().size(), 2u);
  EXPECT_EQ(f.jobs->of_kind<PoiJob>()[1].generation, 2u);
}

// The map jumping to another city (a chosen place, a search answer, the device's position) asks
// for the points of interest there once it rests: the nearby list never keeps the old city's.
TEST(TickDeadlines, AJumpToAnotherCityAsksForItsPointsOfInterest) {
  const LatLon berlin{52.5251, 13.3694};
  struct Case {
    const char* name;
    std::function<void(TickFixture&)> jump;
  } cases[] = {
      {"chosen place",
       [&](TickFixture& f) {
         Place p = make_place("berlin", berlin.lat, berlin.lon);
         f.model().places.push_back(p);
         select_place(f.app->session(), p.id);
       }},
      {"search answer",
       [&](TickFixture& f) {
         f.send(worker::PlaceSearch{std::vector<Place>{make_place("berlin", berlin.lat, berlin.lon)}, "berlin"});
         f.tick();
       }},
      {"located",
       [&](TickFixture& f) {
         auto [tx, rx] = base::channel<LocationOutcome>();
         f.app->backend.location.pending = true;
         f.app->backend.location.receiver = std::move(rx);
         ASSERT_TRUE(tx.send(LocationFix{berlin.lat, berlin.lon, 10.0}));
         f.tick();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TickFixture f;
    f.app->bounds_rect = Rect{0, 0, 1280, 800};
    f.model().zoom = 15.0;
    f.app->backend.view_pois.idle_deadline = f.now();
    f.tick();  // the points of interest of Munich
    ASSERT_EQ(f.jobs->of_kind<PoiJob>().size(), 1u);
    c.jump(f);
    ASSERT_NEAR(f.model().center.lat, berlin.lat, 1e-9);
    ASSERT_TRUE(f.app->backend.view_pois.idle_deadline.has_value());
    f.advance(450ms);
    f.tick();
    const auto asked = f.jobs->of_kind<PoiJob>();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_LT(asked[1].min_lat, berlin.lat);
    EXPECT_GT(asked[1].max_lat, berlin.lat);
    EXPECT_LT(asked[1].min_lon, berlin.lon);
    EXPECT_GT(asked[1].max_lon, berlin.lon);
  }
}

TEST(TickDeadlines, ZoomBelowFourteenDropsPoisAndTheBox) {
  TickFixture f;
  f.app->bounds_rect = Rect{0, 0, 1280, 800};
  f.model().zoom = 13.9;
  f.app->backend.view_pois.pois = {Poi{}};
  f.app->backend.view_pois.box = GeoBox{0, 0, 1, 1};
  f.app->backend.view_pois.idle_deadline = f.now();
  f.tick();
  EXPECT_TRUE(f.app->backend.view_pois.pois.empty());
  EXPECT_FALSE(f.app->backend.view_pois.box.has_value());
  EXPECT_TRUE(f.jobs->requests.empty());
  EXPECT_FALSE(f.app->backend.view_pois.idle_deadline.has_value());
}

TEST(TickDeadlines, ViewIdleInAStateThatIsNotLiveUpdatesOnlyBoxAndGeneration) {
  TickFixture f(false);
  f.app->bounds_rect = Rect{0, 0, 1280, 800};
  f.model().zoom = 16.0;
  f.model().status = "Ready";
  f.app->backend.view_pois.idle_deadline = f.now();
  f.tick();
  EXPECT_TRUE(f.app->backend.view_pois.box.has_value());
  EXPECT_EQ(f.app->backend.view_pois.generation, 1u);
  EXPECT_TRUE(f.jobs->requests.empty());
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  EXPECT_EQ(f.model().status, "Ready");
}

TEST(TickDeadlines, AreaSearchDeadlineAsksForTheTrimmedTextWithoutStatus) {
  struct Case {
    const char* text;
    std::vector<AreaSearchJob> jobs;
    std::uint32_t pending;
  };
  const std::vector<Case> cases = {{" Berlin ", {{"Berlin"}}, 1}, {"   ", {}, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TickFixture f;
    f.model().status = "Ready";
    f.app->offline_panel.set_last_text(c.text);
    f.app->offline_panel.arm_deadline(f.now() + 280ms);
    f.tick();
    EXPECT_TRUE(f.jobs->requests.empty());
    f.advance(280ms);
    f.tick();
    EXPECT_FALSE(f.app->offline_panel.deadline().has_value());
    EXPECT_EQ(f.jobs->of_kind<AreaSearchJob>(), c.jobs);
    EXPECT_EQ(f.app->backend.pending_jobs, c.pending);
    EXPECT_EQ(f.model().status, "Ready");
  }
}

TEST(TickDeadlines, EndpointDeadlineWithoutActiveFieldDoesNothing) {
  TickFixture f;
  f.model().origin_query = "Hauptbahnhof";
  f.app->endpoint_editor.set_endpoint_texts("Hauptbahnhof", "");
  ASSERT_FALSE(f.app->endpoint_editor.editing());
  f.app->endpoint_editor.arm_deadline(f.now());
  f.tick();
  EXPECT_FALSE(f.app->endpoint_editor.deadline().has_value());
  EXPECT_TRUE(f.jobs->requests.empty());
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
}

TEST(TickDeadlines, EndpointDeadlineSubmitsTheActiveFieldsTrimmedText) {
  struct Case {
    EndpointField field;
    const char* text;
    std::vector<EndpointSearchJob> jobs;
  };
  // The job names the origin field 1 and the destination field 0.
  const std::vector<Case> cases = {
      {EndpointField::Origin, "  Hauptbahnhof ", {{"Hauptbahnhof", EndpointField::Origin}}},
      {EndpointField::Destination, " Odeonsplatz", {{"Odeonsplatz", EndpointField::Destination}}},
      {EndpointField::Destination, "   ", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TickFixture f;
    f.app->endpoint_editor.begin_endpoint_edit(c.field);
    (c.field == EndpointField::Origin ? f.model().origin_query : f.model().dest_query) = c.text;
    f.app->endpoint_editor.arm_deadline(f.now() + 280ms);
    f.tick();
    EXPECT_TRUE(f.jobs->requests.empty());
    f.advance(280ms);
    f.tick();
    EXPECT_FALSE(f.app->endpoint_editor.deadline().has_value());
    EXPECT_EQ(f.jobs->of_kind<EndpointSearchJob>(), c.jobs);
  }
}

}  // namespace
}  // namespace maps

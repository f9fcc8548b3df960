// The tick's handling of worker results: status texts, the pending-job count and each
// variant's effect on the state.

#include <gtest/gtest.h>
#include <spdlog/sinks/ringbuffer_sink.h>
#include <spdlog/spdlog.h>

#include <string>
#include <vector>

#include "app/tick_steps.hpp"
#include "tick_fixture.hpp"
#include "tiles/tile_geometry.hpp"
#include "transitions/search.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;

using testing::make_place;
using testing::make_route;
using testing::TickFixture;

TransitJourney make_journey(const std::string& dep) {
  TransitJourney j;
  j.dep = dep;
  j.arr = "10:00";
  j.duration_min = 25;
  TransitLeg leg;
  leg.mode = TransitMode::Tram;
  leg.line = "19";
  leg.geometry = {LatLon{48.13, 11.55}, LatLon{48.14, 11.58}};
  j.legs = {leg};
  return j;
}

Poi poi(const std::string& id) {
  Poi p;
  p.id = id;
  p.name = "Poi " + id;
  return p;
}

AreaCandidate area(const std::string& name) {
  AreaCandidate a;
  a.name = name;
  a.label = "Somewhere";
  return a;
}

struct StatusCase {
  const char* name;
  WorkerResult result;
  std::string status;
};

TEST(TickResults, EachVariantSetsItsStatusText) {
  using K = base::ErrorKind;
  const std::vector<StatusCase> cases = {
      {"search failed", worker::PlaceSearch{base::err(K::Unreachable, "Couldn't connect to server"), "cafe"},
       "Search failed: cannot reach the search service"},
      {"search empty", worker::PlaceSearch{std::vector<Place>{}, "cafe"}, "No results for \u201ccafe\u201d"},
      {"search hits", worker::PlaceSearch{std::vector<Place>{make_place("a"), make_place("b", 48.2)}, "caf"},
       "2 results for \u201ccaf\u201d"},
      {"endpoint failed",
       worker::EndpointSearch{base::err(K::ServiceError, "HTTP 500 Internal Server Error", 500), "x",
                              EndpointField::Origin},
       "Search failed: the search service answered with an error (HTTP 500)"},
      {"endpoint empty", worker::EndpointSearch{std::vector<Place>{}, "x", EndpointField::Origin},
       "No matching places"},
      {"endpoint hits", worker::EndpointSearch{std::vector<Place>{make_place("a")}, "x", EndpointField::Origin}, ""},
      {"reverse failed is silent", worker::ReverseGeocode{base::err(K::NoResult, "no address for this location")},
       "Ready"},
      {"route failed", worker::Route{base::err(K::BadReply, "routing failed")},
       "Routing failed (offline estimate shown): unexpected answer from the routing service"},
      {"route", worker::Route{make_route()}, "Route updated"},
      {"transit failed", worker::Transit{base::err(K::TimedOut, "timed out waiting for a reply (limit 12000 ms)")},
       "Transit lookup failed: the transit planner did not answer in time"},
      {"transit empty", worker::Transit{std::vector<TransitJourney>{}}, "No transit options found"},
      {"transit", worker::Transit{std::vector<TransitJourney>{make_journey("09:30")}}, "Departures updated"},
      {"pois failed", worker::Pois{base::err(K::ServiceError, "HTTP 429 Too Many Requests", 429), 0},
       "Places unavailable: the places service is busy, try again shortly"},
      {"our own failure", worker::Pois{base::err("failed to build HTTP client"), 0},
       "Places unavailable: could not ask the places service"},
      {"pois without loading status", worker::Pois{std::vector<Poi>{}, 0}, "Ready"},
      {"area search leaves the status", worker::AreaSearch{base::err("boom"), "Berlin"}, "Ready"},
      {"replaced request leaves the status", worker::Superseded{}, "Ready"},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.name);
    TickFixture f;
    f.model().status = "Ready";
    f.app->backend.pending_jobs = 2;
    f.send(c.result);
    f.tick();
    EXPECT_EQ(f.model().status, c.status);
    EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  }
}

// A service's failure is told until that service answers again, or for 10 s; another service's
// answer leaves it, and its full text goes to the log.
TEST(TickResults, AFailureStatusLastsUntilItsServiceAnswersOrTenSeconds) {
  using K = base::ErrorKind;
  const auto fail = [](TickFixture& f) {
    f.send(worker::Pois{base::err(K::Unreachable, "Failed to connect to overpass-api.de port 443 after 3 ms"), 0});
    f.tick();
    ASSERT_EQ(f.model().status, "Places unavailable: cannot reach the places service");
  };
  {
    SCOPED_TRACE("ten seconds");
    TickFixture f;
    fail(f);
    f.advance(9999ms);
    f.tick();
    EXPECT_FALSE(f.model().status.empty());
    EXPECT_EQ(f.app->next_deadline(), std::optional(1ms)) << "the window wakes to take it away";
    f.advance(1ms);
    f.tick();
    EXPECT_EQ(f.model().status, "");
  }
  {
    SCOPED_TRACE("the service answers");
    TickFixture f;
    fail(f);
    f.send(worker::ReverseGeocode{std::string("Marienplatz 1")});  // another service
    f.tick();
    EXPECT_EQ(f.model().status, "Places unavailable: cannot reach the places service");
    f.send(worker::Pois{std::vector<Poi>{poi("a")}, 0});
    f.tick();
    EXPECT_EQ(f.model().status, "");
  }
  {
    SCOPED_TRACE("a newer status is not taken away");
    TickFixture f;
    fail(f);
    f.app->set_status("Searching\u2026", StatusKind::InProgress);
    f.app->backend.pending_jobs = 1;
    f.advance(20s);
    f.tick();
    EXPECT_EQ(f.model().status, "Searching\u2026");
  }
}

// While tiles in view have failed the status says so once, for 10 s; it is not said again until
// the view has no failed tile, and it goes when none in view has failed any more.
TEST(TickTiles, FailedTilesInViewAreToldOnce) {
  TickFixture f;
  f.app->bounds_rect = {0, 0, 800, 600};
  const auto& c = f.model().center;
  const auto tiles = visible_tiles(0, 0, 800, 600, c.lat, c.lon, f.model().zoom, 400, 300);
  ASSERT_FALSE(tiles.empty());
  TileStore& store = f.app->backend.tiles;
  const auto fail_view = [&] {
    for (const auto& t : tiles) store.failures[t.key] = {store.now() + 1h, 2s};
    store.last_failure = base::err(base::ErrorKind::Unreachable, "Couldn't connect to server");
  };
  const std::string told = "Some map tiles could not be loaded: cannot reach the map tile server";
  f.tick();
  EXPECT_EQ(f.model().status, "");
  fail_view();
  f.tick();
  EXPECT_EQ(f.model().status, told);
  f.advance(10s);
  f.tick();
  EXPECT_EQ(f.model().status, "") << "gone after 10 s";
  f.tick();
  EXPECT_EQ(f.model().status, "") << "and not told again while the same tiles fail";
  store.failures.clear();
  f.tick();
  fail_view();
  f.tick();
  EXPECT_EQ(f.model().status, told) << "a new failure after the view had none is told";
  store.failures.clear();
  f.tick();
  EXPECT_EQ(f.model().status, "") << "the tiles loaded";
  // Work under way keeps its status; the failure is told once it is done.
  fail_view();
  f.app->set_status("Searching\u2026", StatusKind::InProgress);
  f.tick();
  EXPECT_EQ(f.model().status, "Searching\u2026");
  f.app->clear_status();
  f.tick();
  EXPECT_EQ(f.model().status, told);
  // What a tick reports stays for that frame; the notice comes with the next, which is due.
  store.failures.clear();
  f.tick();
  fail_view();
  f.send(worker::PlaceSearch{std::vector<Place>{}, "tea"});
  f.tick();
  EXPECT_EQ(f.model().status, "No results for \u201ctea\u201d");
  EXPECT_EQ(f.app->next_deadline(), std::optional(0ms));
  f.tick();
  EXPECT_EQ(f.model().status, told);
  // Another service's failure is told first.
  store.failures.clear();
  f.tick();
  fail_view();
  f.app->report_failure("Search failed: ", Service::Geocoder, base::err(base::ErrorKind::TimedOut, "timed out"));
  f.tick();
  f.tick();
  EXPECT_EQ(f.model().status, "Search failed: the search service did not answer in time");
  f.advance(10s);
  f.tick();
  EXPECT_EQ(f.model().status, told) << "once it has gone";
}

TEST(TickResults, TheFullFailureTextGoesToTheLog) {
  auto sink = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(8);
  auto logger = std::make_shared<spdlog::logger>("maps::services", sink);
  spdlog::drop("maps::services");
  spdlog::register_logger(logger);
  TickFixture f;
  f.send(
      worker::PlaceSearch{base::err(base::ErrorKind::BadReply, "error decoding response body: last read: '<'"), "x"});
  f.tick();
  spdlog::drop("maps::services");
  const auto lines = sink->last_formatted();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("the search service failed: error decoding response body: last read: '<'"), std::string::npos)
      << lines[0];
  EXPECT_EQ(f.model().status, "Search failed: unexpected answer from the search service");
}

struct CountCase {
  std::uint32_t pending;
  int results;
  const char* status;
  StatusKind kind;
  std::uint32_t pending_after;
  const char* status_after;
};

TEST(TickResults, PendingCountNeverGoesBelowZeroAndEllipsisClearsOnlyAtZero) {
  const std::vector<CountCase> cases = {
      {0, 1, "Searching\u2026", StatusKind::InProgress, 0, ""},
      {2, 2, "Searching\u2026", StatusKind::InProgress, 0, ""},
      {3, 2, "Searching\u2026", StatusKind::InProgress, 1, "Searching\u2026"},
      {2, 2, "Located", StatusKind::Outcome, 0, "Located"},
      {0, 3, "Loading places\u2026", StatusKind::LoadingPlaces, 0, ""},
      // A download outlasts the jobs: its status waits for the download to end.
      {1, 1, "Downloading 3 tiles\u2026", StatusKind::Downloading, 0, "Downloading 3 tiles\u2026"},
      // Only what the status tells counts, never its words.
      {1, 1, "Failed: \u2026", StatusKind::Outcome, 0, "Failed: \u2026"},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.pending << " pending, " << c.results << " results, " << c.status);
    TickFixture f;
    f.app->backend.pending_jobs = c.pending;
    f.app->set_status(c.status, c.kind);
    // Failed reverse lookups touch nothing but the count.
    for (int i = 0; i < c.results; ++i) f.send(worker::ReverseGeocode{base::err("x")});
    f.tick();
    EXPECT_EQ(f.app->backend.pending_jobs, c.pending_after);
    EXPECT_EQ(f.model().status, c.status_after);
  }
}

TEST(TickResults, ReplacedRequestOnlyComesOffTheCount) {
  TickFixture f;
  f.model().places = {make_place("a")};
  f.model().results = {make_place("a")};
  f.model().selected = "a";
  f.tick();                         // seeds the document
  f.app->backend.pending_jobs = 2;  // the replaced search and the newer one that took its place
  f.app->set_status("Searching\u2026", StatusKind::InProgress);
  const MapModel before = f.model();
  f.send(worker::Superseded{});
  f.tick();
  EXPECT_EQ(f.app->backend.pending_jobs, 1u);
  EXPECT_EQ(f.model(), before) << "nothing is shown for it";
  EXPECT_EQ(f.app->backend.status.kind, StatusKind::InProgress);
  EXPECT_TRUE(f.app->endpoint_editor.suggestions(EndpointField::Origin).empty());
  EXPECT_TRUE(f.app->search_box.suggestions().empty());

  f.send(worker::PlaceSearch{std::vector<Place>{make_place("b", 48.2)}, "Place b"});
  f.tick();
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  EXPECT_EQ(f.model().selected, std::optional<std::string>("b"));
  EXPECT_EQ(f.model().status, "1 result for \u201cPlace b\u201d");
}

TEST(TickResults, PlaceSearchSelectsTheFirstHitAndStoresEveryPlace) {
  TickFixture f;
  const Place a = make_place("a", 48.15, 11.60);
  f.send(worker::PlaceSearch{std::vector<Place>{a}, "Place a"});
  f.tick();
  ASSERT_EQ(f.model().results.size(), 1u);
  EXPECT_EQ(f.model().results[0].id, "a");
  EXPECT_EQ(f.model().selected, std::optional<std::string>("a"));
  EXPECT_EQ(f.model().center, a.pos);
  // Stored through the document: still there after later ticks hydrate.
  f.tick();
  ASSERT_EQ(f.model().places.size(), 1u);
  EXPECT_EQ(f.model().places[0], a);
}

// A search that finds nothing, here or at the service, says so in the pill, and the card of the
// place selected before is no longer shown as if it were the answer.
TEST(TickResults, ASearchThatFindsNothingSaysSoAndLeavesNoCard) {
  MapModel model = default_map_model();
  model.places = {make_place("a")};
  TickFixture f(true, model);
  f.tick();
  f.model().selected = "a";
  f.model().query = "xyzzy";
  submit_search(f.app->session(), &f.state);
  EXPECT_EQ(f.model().selected, std::nullopt);
  f.send(worker::PlaceSearch{std::vector<Place>{}, "xyzzy"});
  f.tick();
  EXPECT_EQ(f.model().status, "No results for \u201cxyzzy\u201d");
  EXPECT_EQ(f.app->backend.status.kind, StatusKind::Notice);
  EXPECT_TRUE(f.model().results.empty());
  EXPECT_EQ(f.model().selected, std::nullopt);
}

TEST(TickResults, PlaceSearchWhileSuggestionsAreOpenFillsOnlyTheSuggestions) {
  TickFixture f;
  f.app->search_box.open();
  f.model().selected = "kept";
  f.model().results = {make_place("old")};
  const LatLon centre = f.model().center;
  f.send(worker::PlaceSearch{std::vector<Place>{make_place("a")}, "Place a"});
  f.tick();
  ASSERT_EQ(f.app->search_box.suggestions().size(), 1u);
  EXPECT_EQ(f.app->search_box.suggestions()[0].id, "a");
  EXPECT_EQ(f.model().results, std::vector<Place>{make_place("old")});
  EXPECT_EQ(f.model().selected, std::optional<std::string>("kept"));
  EXPECT_EQ(f.model().center, centre);
  EXPECT_EQ(f.model().status, "1 result for \u201cPlace a\u201d");
}

TEST(TickResults, EndpointAnswerFillsTheFieldItNames) {
  for (EndpointField field : {EndpointField::Origin, EndpointField::Destination}) {
    SCOPED_TRACE(int(field));
    TickFixture f;
    f.send(worker::EndpointSearch{std::vector<Place>{make_place("a")}, "Place a", field});
    f.tick();
    const auto& filled = f.app->endpoint_editor.suggestions(field);
    const auto& other = f.app->endpoint_editor.suggestions(other_field(field));
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].id, "a");
    EXPECT_TRUE(other.empty());
  }
}

TEST(TickResults, RouteIsCommittedWithTheCurrentEndpoints) {
  TickFixture f;
  f.tick();
  f.app->transient.set_origin(f.model(), LatLon{48.10, 11.50}, "Home");
  f.app->transient.set_dest(f.model(), LatLon{48.20, 11.60}, "Work");
  const Route route = make_route();
  f.send(worker::Route{route});
  f.tick();
  EXPECT_EQ(f.model().route, std::optional<Route>(route));
  EXPECT_EQ(f.model().origin_name, "Home");
  EXPECT_EQ(f.model().dest_name, "Work");
  // The plan now carries them, so the overlay holds nothing for them any more.
  EXPECT_TRUE(f.app->transient.empty());
}

TEST(TickResults, FailedRouteKeepsTheEstimateShown) {
  TickFixture f;
  f.tick();
  const Route estimate = make_route(48.0, 48.3);
  f.app->transient.set_route(f.model(), estimate);
  f.send(worker::Route{base::err("HTTP 502 Bad Gateway")});
  for (int i = 0; i < 3; ++i) f.tick();
  EXPECT_EQ(f.model().route, std::optional<Route>(estimate));
}

TEST(TickResults, TransitJourneysAreCommitted) {
  TickFixture f;
  const std::vector<TransitJourney> journeys = {make_journey("09:30"), make_journey("09:45")};
  f.send(worker::Transit{journeys});
  f.tick();
  f.tick();
  EXPECT_EQ(f.model().transit, journeys);
  EXPECT_EQ(f.model().mode, TravelMode::Transit);
}

TEST(TickResults, StalePoiGenerationChangesNothingButTheCount) {
  TickFixture f;
  f.app->backend.view_pois.generation = 3;
  f.app->backend.view_pois.pois = {poi("kept")};
  f.app->backend.pending_jobs = 2;
  f.app->set_status("Loading places\u2026", StatusKind::LoadingPlaces);
  f.send(worker::Pois{std::vector<Poi>{poi("old")}, 2});
  f.send(worker::Pois{base::err("old failure"), 1});
  f.tick();
  ASSERT_EQ(f.app->backend.view_pois.pois.size(), 1u);
  EXPECT_EQ(f.app->backend.view_pois.pois[0].id, "kept");
  EXPECT_EQ(f.app->backend.pending_jobs, 0u);
  // The count reached zero, so the "…" status is cleared; no failure text was shown.
  EXPECT_EQ(f.model().status, "");
}

TEST(TickResults, PoisAreCappedAndALostSelectionIsCleared) {
  struct Case {
    std::size_t count;
    const char* selected;
    std::size_t kept;
    bool selection_stays;
  };
  for (const Case& c : {Case{150, "p3", 140, true}, Case{150, "p145", 140, false}, Case{5, "gone", 5, false}}) {
    SCOPED_TRACE(c.selected);
    TickFixture f;
    f.app->backend.view_pois.generation = 7;
    f.app->selected_poi = c.selected;
    f.app->backend.pending_jobs = 2;  // another job still pending keeps the status in place
    f.app->set_status("Loading places\u2026", StatusKind::LoadingPlaces);
    std::vector<Poi> answer;
    for (std::size_t i = 0; i < c.count; ++i) answer.push_back(poi("p" + std::to_string(i)));
    f.send(worker::Pois{answer, 7});
    f.tick();
    EXPECT_EQ(f.app->backend.view_pois.pois.size(), c.kept);
    EXPECT_EQ(f.app->selected_poi.has_value(), c.selection_stays);
    EXPECT_EQ(f.model().status, std::to_string(c.kept) + " places nearby");
  }
}

TEST(TickResults, AreaSearchCountsOnlyForTheTextTheOpenPanelShows) {
  struct Case {
    const char* name;
    bool open;
    const char* last_text;
    const char* query;
    bool applied;
  };
  const std::vector<Case> cases = {
      {"matching", true, " Berlin ", "Berlin", true},
      {"panel closed", false, "Berlin", "Berlin", false},
      {"text changed", true, "Bern", "Berlin", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TickFixture f;
    OfflinePanel& panel = f.app->offline_panel;
    panel.begin_area_search(0);
    panel.set_last_text(c.last_text);
    panel.apply_area_search(c.last_text, std::vector<AreaCandidate>{area("previous")});
    if (!c.open) panel.end_area_search();
    const auto candidates_before = panel.candidates();
    const auto items_before = panel.area_input().suggestions();
    f.send(worker::AreaSearch{std::vector<AreaCandidate>{area("Berlin")}, c.query});
    f.tick();
    if (c.applied) {
      ASSERT_EQ(panel.candidates().size(), 1u);
      EXPECT_EQ(panel.candidates()[0].name, "Berlin");
      ASSERT_EQ(panel.area_input().suggestions().size(), 1u);
      EXPECT_EQ(panel.area_input().suggestions()[0].label, "Berlin");
      EXPECT_TRUE(panel.area_input().suggestions_open());
    } else {
      EXPECT_EQ(panel.candidates(), candidates_before);
      EXPECT_EQ(panel.area_input().suggestions(), items_before);
    }
  }
}

TEST(TickResults, FailedAreaSearchEmptiesCandidatesAndSuggestions) {
  TickFixture f;
  f.app->offline_panel.begin_area_search(0);
  f.app->offline_panel.set_last_text("Berlin");
  f.app->offline_panel.apply_area_search("Berlin", std::vector<AreaCandidate>{area("previous")});
  ASSERT_TRUE(f.app->offline_panel.area_input().suggestions_open());
  f.send(worker::AreaSearch{base::err("HTTP 503 Service Unavailable"), "Berlin"});
  f.tick();
  EXPECT_TRUE(f.app->offline_panel.candidates().empty());
  EXPECT_TRUE(f.app->offline_panel.area_input().suggestions().empty());
  EXPECT_FALSE(f.app->offline_panel.area_input().suggestions_open());
}

TEST(TickResults, ReverseLookupNamesTheFixButNotAnOriginChosenSince) {
  TickFixture f;
  f.tick();
  f.app->backend.location.located_fix = LatLon{48.1, 11.5};
  f.app->transient.set_origin(f.model(), LatLon{48.1, 11.5}, "Current location");
  f.send(worker::ReverseGeocode{std::string("Marienplatz 1")});
  f.tick();
  EXPECT_EQ(f.model().origin_name, "Marienplatz 1");

  f.app->transient.set_origin(f.model(), LatLon{48.2, 11.6}, "Chosen place");
  f.send(worker::ReverseGeocode{std::string("Marienplatz 1")});
  f.tick();
  EXPECT_EQ(f.model().origin_name, "Chosen place");
}

}  // namespace
}  // namespace maps

namespace maps {
namespace {

using testing::make_place;
using testing::make_route;
using testing::TickFixture;

TEST(TickResults, TheTickCommitsThroughTheStatesCommitPath) {
  TickFixture f;
  std::vector<MapsAction> commits;
  f.app->commits.override = [&](zarn_ui::state::State&, MapsAction a) { commits.push_back(std::move(a)); };
  f.send(worker::PlaceSearch{std::vector<Place>{make_place("a")}, "Place a"});
  f.send(worker::Route{make_route()});
  f.tick();
  ASSERT_EQ(commits.size(), 2u);
  EXPECT_EQ(commits[0], (MapsAction{MapsAction::UpsertPlaces{{make_place("a")}}}));
  EXPECT_TRUE(std::holds_alternative<MapsAction::SetRoute>(commits[1].value));
  EXPECT_EQ(f.app->commits.action_host.dispatch_count(), 0u) << "nothing reached the document's action path";
}

}  // namespace
}  // namespace maps

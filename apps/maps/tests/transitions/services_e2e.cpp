// A live state against fake web services on 127.0.0.1: a search gives ranked answers without
// near-duplicates, opening a place and asking for directions commits the route, a transit search
// commits journeys, and failing services leave the offline estimate (or no journeys) with the
// error texts. Every request runs on the real request threads; the state sees only the tick.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "../net/fake_service.hpp"
#include "app/construct.hpp"
#include "app/maps_app.hpp"
#include "app/ui_messages.hpp"
#include "geo/geo.hpp"
#include "net/job_spawner.hpp"
#include "transitions/messages.hpp"
#include "transitions/plans.hpp"
#include "transitions/search.hpp"
#include "zarn_ui/state.hpp"

namespace maps {
namespace {

using namespace std::chrono_literals;
using testing::FakeService;

constexpr LatLon kHome{48.1300, 11.5600};

// Five answers for "Marienplatz": two exact names 70 m apart (one is a near-duplicate), an exact
// one far out, one that starts with the query and one that only contains it.
constexpr const char* kSearchReply = R"json([
  {"lat":"48.1372","lon":"11.5757","name":"Marienplatz (U/S)","osm_type":"node","osm_id":1},
  {"lat":"48.1374","lon":"11.5755","name":"Marienplatz","display_name":"Marienplatz, München","osm_type":"way",
   "osm_id":2},
  {"lat":"48.1380","lon":"11.5760","name":"MARIENPLATZ","osm_type":"node","osm_id":3},
  {"lat":"48.2000","lon":"11.6000","name":"Marienplatz","osm_type":"relation","osm_id":4},
  {"lat":"48.1369","lon":"11.5762","name":"Café am Marienplatz","osm_type":"node","osm_id":5}
])json";

constexpr const char* kRouteReply = R"({"code":"Ok","routes":[{"distance":2100.5,"duration":420,
  "geometry":{"coordinates":[[11.56,48.13],[11.568,48.134],[11.5755,48.1374]]},
  "legs":[{"steps":[{"maneuver":{"type":"depart"},"name":"Sonnenstraße","distance":2100.5},
                    {"maneuver":{"type":"arrive"},"name":"","distance":0}]}]}]})";

constexpr const char* kPlanReply = R"({"itineraries":[
  {"startTime":"2026-12-08T08:05:00Z","endTime":"2026-12-08T08:20:00Z","duration":900,"transfers":0,
   "legs":[{"mode":"SUBWAY","routeShortName":"U3","headsign":"Moosach","from":{"name":"Sendlinger Tor"},
            "to":{"name":"Marienplatz"},"startTime":"2026-12-08T08:05:00Z","endTime":"2026-12-08T08:20:00Z",
            "duration":900}]},
  {"startTime":"2026-12-08T08:15:00Z","endTime":"2026-12-08T08:32:00Z","duration":1020,"transfers":0,
   "legs":[{"mode":"TRAM","routeShortName":"19","headsign":"Pasing","from":{"name":"Stachus"},
            "to":{"name":"Theatinerstraße"},"startTime":"2026-12-08T08:15:00Z","endTime":"2026-12-08T08:32:00Z",
            "duration":1020}]}]})";

ServiceHosts hosts_at(const std::string& host) {
  ServiceHosts h;
  h.nominatim = h.overpass = h.osrm = h.motis = host;
  h.timeout = 3s;
  return h;
}

struct LiveApp {
  FakeService svc;
  std::atomic<bool> failing{false};
  std::atomic<bool> router_down{false};
  std::unique_ptr<MapsApp> app;
  zarn_ui::state::State state;

  LiveApp() {
    svc.reply("/search", kSearchReply);
    svc.reply("/api/interpreter", R"({"elements":[]})");
    svc.on(R"(/route/v1/driving/.*)", [this](const httplib::Request&, httplib::Response& res) {
      // The routing service sends its errors with status 400 and its own code.
      if (router_down) {
        res.status = 503;
        res.set_content("<html>unavailable</html>", "text/html");
        return;
      }
      res.status = failing ? 400 : 200;
      res.set_content(failing ? R"({"code":"NoSegment","message":"Could not find a matching segment"})" : kRouteReply,
                      "application/json");
    });
    svc.on("/api/v1/plan", [this](const httplib::Request&, httplib::Response& res) {
      res.status = failing ? 500 : 200;
      res.set_content(failing ? "{}" : kPlanReply, "application/json");
    });
    app = build_maps_app(default_map_model(), VectorMap{},
                         new_offline_tile_store(std::filesystem::temp_directory_path() / "maps-services-e2e-none"),
                         false, true);
    app->backend.job_spawner = std::make_unique<ThreadJobSpawner>(hosts_at(svc.host()), app->backend.result_sender);
    app->bounds_rect = {0, 0, 1280, 800};
    app->tick(state);  // seeds the document
  }

  MapModel& model() { return app->model; }

  // Ticks while `busy` holds, for at most a few seconds.
  template <class Busy>
  void tick_while(Busy busy) {
    const auto limit = std::chrono::steady_clock::now() + 8s;
    while (busy() && std::chrono::steady_clock::now() < limit) {
      app->tick(state);
      std::this_thread::sleep_for(5ms);
    }
  }

  // Ticks until every job has answered (bounded), then once more.
  void settle() {
    tick_while([&] { return journeys_awaited(app->backend); });
    ASSERT_EQ(app->backend.pending_jobs, 0u) << "a job did not answer";
    app->tick(state);
  }

  // A jump of the map asks for the points of interest there once it rests (450 ms on): this lets
  // it rest, so that their status does not come in the middle of a later step.
  void rest() {
    tick_while([&] { return app->backend.view_pois.idle_deadline.has_value(); });
    ASSERT_FALSE(app->backend.view_pois.idle_deadline.has_value()) << "the map did not come to rest";
    settle();
  }

  std::vector<std::string> targets_starting(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& r : svc.requests()) {
      if (r.path.rfind(prefix, 0) == 0) out.push_back(r.target);
    }
    return out;
  }
};

std::vector<std::string> ids(const std::vector<Place>& places) {
  std::vector<std::string> out;
  for (const Place& p : places) out.push_back(p.id);
  return out;
}

TEST(ServicesEndToEnd, SearchDirectionsJourneysAndFailures) {
  LiveApp f;

  // Search: ranked by match, then distance from the map centre; the near-duplicate is gone.
  f.model().query = "Marienplatz";
  submit_search(f.app->session(), &f.state);
  EXPECT_EQ(f.model().status, "Searching\u2026");
  f.settle();
  EXPECT_EQ(ids(f.model().results),
            (std::vector<std::string>{"osm-way-2", "osm-relation-4", "osm-node-1", "osm-node-5"}));
  EXPECT_EQ(f.model().status, "4 results for \u201cMarienplatz\u201d");
  EXPECT_EQ(f.model().selected, std::optional<std::string>("osm-way-2"));
  EXPECT_EQ(f.model().places.size(), 5u) << "every answer is stored";
  EXPECT_EQ(f.model().recents.front(), "Marienplatz");
  EXPECT_EQ(f.targets_starting("/search"),
            std::vector<std::string>{"/search?q=Marienplatz&format=jsonv2&limit=8&addressdetails=1"});
  f.rest();
  EXPECT_EQ(f.targets_starting("/api/interpreter").size(), 1u) << "the places around the answer are asked for";

  // Directions to the opened place, from a chosen origin: the estimate at once, then the route.
  f.app->transient.set_origin(f.model(), kHome, "Home");
  route_message(*f.app, UiMessage{msg::OpenPlace{"osm-way-2"}}, f.state);
  f.rest();
  route_message(*f.app, UiMessage{msg::Directions{}}, f.state);
  const LatLon dest{48.1374, 11.5755};
  EXPECT_EQ(f.model().dest, std::optional(dest));
  EXPECT_EQ(f.model().route, std::optional(offline_route_estimate(TravelMode::Car, kHome, dest)));
  EXPECT_EQ(f.model().status, "Routing\u2026");
  f.settle();
  ASSERT_TRUE(f.model().route.has_value());
  EXPECT_EQ(f.model().route->distance_m, 2100.5);
  EXPECT_EQ(f.model().route->geometry.size(), 3u);
  EXPECT_EQ(f.model().route->steps.front().instruction, "Head out on Sonnenstraße");
  EXPECT_EQ(f.model().status, "Route updated");
  EXPECT_EQ(f.model().origin_name, "Home");
  EXPECT_EQ(f.model().dest_name, "Marienplatz");
  EXPECT_EQ(f.model().panel, Panel::Directions);
  EXPECT_TRUE(f.app->transient.empty()) << "the committed route carries every value";
  EXPECT_EQ(f.targets_starting("/route"), std::vector<std::string>{"/route/v1/driving/11.560000,48.130000;"
                                                                   "11.575500,48.137400?overview=full&geometries="
                                                                   "geojson&steps=true"});

  // Journeys: the road route goes, the planner's journeys come.
  route_message(*f.app, UiMessage{msg::ChooseTravelMode{TravelMode::Transit}}, f.state);
  EXPECT_FALSE(f.model().route.has_value());
  EXPECT_EQ(f.model().status, "Finding departures\u2026");
  f.settle();
  ASSERT_EQ(f.model().transit.size(), 2u);
  EXPECT_EQ(f.model().transit[0].legs.at(0).line, "U3");
  EXPECT_EQ(f.model().transit[1].legs.at(0).mode, TransitMode::Tram);
  EXPECT_EQ(f.model().mode, TravelMode::Transit);
  EXPECT_FALSE(f.model().route.has_value());
  EXPECT_EQ(f.model().status, "Departures updated");
  const auto plans = f.targets_starting("/api/v1/plan");
  ASSERT_EQ(plans.size(), 1u);
  // The journeys go on from the start the route had.
  EXPECT_EQ(f.model().dest, std::optional(dest));
  EXPECT_EQ(f.model().origin, std::optional(kHome));
  EXPECT_EQ(f.model().origin_name, "Home");
  EXPECT_NE(plans[0].find("fromPlace=48.130000,11.560000&toPlace=48.137400,11.575500&numItineraries=4"),
            std::string::npos)
      << plans[0];
  EXPECT_EQ(plans[0].find("time="), std::string::npos) << "leaving now sends no time";

  // The router cannot be asked: the estimate stays with the routing error.
  f.router_down = true;
  route_message(*f.app, UiMessage{msg::ChooseTravelMode{TravelMode::Car}}, f.state);
  const Route estimate = offline_route_estimate(TravelMode::Car, kHome, dest);
  EXPECT_EQ(f.model().route, std::optional(estimate));
  f.settle();
  for (int i = 0; i < 3; ++i) f.app->tick(f.state);
  EXPECT_EQ(f.model().route, std::optional(estimate));
  EXPECT_TRUE(route_is_estimate(f.app->transient));
  EXPECT_EQ(f.model().mode, TravelMode::Car);
  EXPECT_EQ(f.model().status,
            "Routing failed (offline estimate shown): the routing service answered with an error (HTTP 503)");

  // The router answers that there is no route: no line, no estimate, and it says so.
  f.router_down = false;
  f.failing = true;
  route_message(*f.app, UiMessage{msg::ChooseTravelMode{TravelMode::Foot}}, f.state);
  route_message(*f.app, UiMessage{msg::ChooseTravelMode{TravelMode::Car}}, f.state);
  f.settle();
  for (int i = 0; i < 3; ++i) f.app->tick(f.state);
  EXPECT_FALSE(f.model().route.has_value());
  EXPECT_EQ(f.model().status, "No route found");

  // The journey planner fails: no journeys, and the list tells of the failure.
  route_message(*f.app, UiMessage{msg::ChooseTravelMode{TravelMode::Transit}}, f.state);
  f.settle();
  EXPECT_TRUE(f.model().transit.empty());
  EXPECT_EQ(f.model().status, "Transit lookup failed: the transit planner answered with an error (HTTP 500)");
  EXPECT_EQ(f.app->backend.plans.latest.failure,
            "Transit lookup failed: the transit planner answered with an error (HTTP 500)");
}

}  // namespace
}  // namespace maps

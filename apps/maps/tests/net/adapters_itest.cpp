#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "base/scoped_env.hpp"
#include "fake_service.hpp"
#include "net/geocoding.hpp"
#include "net/http_client.hpp"
#include "net/pois.hpp"
#include "net/routing.hpp"
#include "net/transit.hpp"

namespace maps {
namespace {

using testing::FakeService;
using ::testing::HasSubstr;
using namespace std::chrono_literals;

ServiceHosts hosts_at(const std::string& host) {
  ServiceHosts h;
  h.nominatim = h.overpass = h.osrm = h.motis = host;
  h.timeout = 300ms;
  return h;
}

class Adapters : public ::testing::Test {
 protected:
  FakeService svc;
  ServiceHosts hosts = hosts_at(svc.host());

  std::string only_target() {
    const auto seen = svc.requests();
    EXPECT_EQ(seen.size(), 1u);
    if (seen.empty()) return "";
    for (const auto& [k, v] : seen[0].headers) {
      if (k != "Host" && k != "User-Agent") ADD_FAILURE() << "unexpected header " << k;
    }
    return seen[0].target;
  }
};

TEST_F(Adapters, SearchPlaces) {
  svc.reply("/search", R"([
    {"lat":"48.1374","lon":"11.5755","name":"Marienplatz","display_name":"Marienplatz, Altstadt, München",
     "class":"highway","type":"pedestrian","osm_type":"way","osm_id":4068013},
    {"lat":48.1,"lon":"11.5","name":"Number lat"},
    {"lat":"48.139","lon":"11.566","name":"","address":{"road":"Kaufingerstraße","house_number":"9"},
     "category":"shop","type":"clothes","osm_type":"node","osm_id":12}
  ])");
  auto r = search_places(hosts, "Marienplatz München");
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(only_target(), "/search?q=Marienplatz%20M%C3%BCnchen&format=jsonv2&limit=8&addressdetails=1");
  const std::vector<Place> want{
      {"osm-way-4068013", "Marienplatz", Category::Other, "Marienplatz, Altstadt, München", {48.1374, 11.5755}, false},
      {"osm-node-12", "Kaufingerstraße 9", Category::Shop, "", {48.139, 11.566}, false},
  };
  EXPECT_EQ(*r, want);
}

TEST_F(Adapters, SearchAreas) {
  svc.reply("/search", R"([{"lat":"48.137","lon":"11.575","name":"Altstadt","display_name":"Altstadt, München",
    "boundingbox":["48.13","48.14","11.56","11.59"]}])");
  auto r = search_areas(hosts, "Altstadt");
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(only_target(), "/search?q=Altstadt&format=jsonv2&limit=8&addressdetails=1");
  ASSERT_EQ(r->size(), 1u);
  EXPECT_EQ((*r)[0], (AreaCandidate{"Altstadt", "München", {48.137, 11.575}, {48.13, 11.56}, {48.14, 11.59}}));
}

TEST_F(Adapters, ReverseGeocode) {
  svc.reply("/reverse", R"({"name":"","display_name":"12, Marienplatz, Altstadt, München"})");
  auto r = reverse_geocode(hosts, 48.1371, 11.5754);
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(*r, "12, Marienplatz");
  EXPECT_EQ(only_target(), "/reverse?lat=48.137100&lon=11.575400&format=jsonv2&zoom=16&addressdetails=1");
}

TEST_F(Adapters, FetchRoute) {
  svc.reply(R"(/route/v1/cycling/.*)", R"({"code":"Ok","routes":[{"distance":950.5,"duration":210,
    "geometry":{"coordinates":[[11.5754,48.1371],[11.58,48.14]]},
    "legs":[{"steps":[{"maneuver":{"type":"depart"},"name":"Marienplatz","distance":950.5},
                      {"maneuver":{"type":"arrive"},"name":"","distance":0}]}]}]})");
  const LatLon from{48.1371, 11.5754}, to{48.14, 11.58};
  auto r = fetch_route(hosts, TravelMode::Bike, from, to);
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(only_target(),
            "/route/v1/cycling/11.575400,48.137100;11.580000,48.140000?overview=full&geometries=geojson&steps=true");
  const Route want{
      TravelMode::Bike,
      950.5,
      210,
      {{48.1371, 11.5754}, {48.14, 11.58}},
      {{"Head out on Marienplatz", 950.5, Maneuver::Depart}, {"Arrive at your destination", 0, Maneuver::Arrive}},
      from,
      to};
  EXPECT_EQ(*r, want);
}

TEST_F(Adapters, FetchRouteServiceCodes) {
  svc.reply(R"(/route/v1/foot/.*)", R"({"code":"NoRoute","message":"Impossible route"})");
  svc.reply(R"(/route/v1/driving/.*)", R"({"message":"no code"})");
  // The service sends its errors with status 400.
  svc.reply(R"(/route/v1/cycling/.*)", R"({"code":"NoSegment","message":"Could not find a matching segment"})", 400);
  using K = base::ErrorKind;
  EXPECT_EQ(fetch_route(hosts, TravelMode::Foot, {1, 2}, {3, 4}).failure(), base::err(K::NoResult, "NoRoute"));
  EXPECT_EQ(fetch_route(hosts, TravelMode::Transit, {1, 2}, {3, 4}).failure(),
            base::err(K::BadReply, "routing failed"));
  EXPECT_EQ(fetch_route(hosts, TravelMode::Bike, {1, 2}, {3, 4}).failure(), base::err(K::NoResult, "NoSegment"));
}

TEST_F(Adapters, FetchTransitPlan) {
  const base::ScopedTz utc("UTC0");  // the reply's times are read in local time
  svc.reply("/api/v1/plan", R"({"itineraries":[{"startTime":"2026-12-08T14:05:00Z","endTime":"2026-12-08T14:30:00Z",
    "duration":1500,"transfers":0,"legs":[{"mode":"TRAM","routeShortName":"19","headsign":"Pasing",
    "from":{"name":"Karlsplatz"},"to":{"name":"Hauptbahnhof"},"startTime":"2026-12-08T14:05:00Z",
    "endTime":"2026-12-08T14:30:00Z","duration":1500,"routeColor":"E30613","agencyName":"MVG"}]}]})");
  auto r = fetch_transit_plan(hosts, {"2026-12-08T15:00:00+01:00", true}, {48.1371, 11.5754}, {48.14, 11.558});
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(only_target(),
            "/api/v1/plan?fromPlace=48.137100,11.575400&toPlace=48.140000,11.558000&numItineraries=4"
            "&time=2026-12-08T15%3A00%3A00%2B01%3A00&arriveBy=true");
  ASSERT_EQ(r->size(), 1u);
  ASSERT_EQ((*r)[0].legs.size(), 1u);
  const auto& leg = (*r)[0].legs[0];
  EXPECT_EQ(leg.mode, TransitMode::Tram);
  EXPECT_EQ(leg.line, "19");
  EXPECT_EQ(leg.dep, "14:05");
  EXPECT_EQ(leg.duration_min, 25u);
  EXPECT_EQ(leg.color, "E30613");
  EXPECT_EQ(leg.text_color, std::nullopt);
}

TEST_F(Adapters, FetchPois) {
  svc.reply("/api/interpreter", R"({"version":0.6,"elements":[
    {"type":"node","id":21,"lat":48.138,"lon":11.573,"tags":{"name":"Café Glockenspiel","amenity":"cafe"}}]})");
  auto r = fetch_pois(hosts, 48.1, 11.5, 48.2, 11.6);
  ASSERT_TRUE(r.is_ok()) << r.error();
  EXPECT_EQ(only_target(), "/api/interpreter?data=" + percent_encode(overpass_query(48.1, 11.5, 48.2, 11.6)));
  ASSERT_EQ(r->size(), 1u);
  EXPECT_EQ((*r)[0].id, "osm-node-21");
  EXPECT_EQ((*r)[0].category, Category::Cafe);
}

TEST_F(Adapters, FetchPoisThatRanOutOfTimeIsAnError) {
  svc.reply("/api/interpreter", R"({"version":0.6,"elements":[],
    "remark":"runtime error: Query timed out in \"query\" at line 1 after 21 seconds."})");
  auto r = fetch_pois(hosts, 48.1, 11.5, 48.2, 11.6);
  ASSERT_TRUE(r.is_err());
  // The service says it failed, in an answer that is otherwise fine.
  EXPECT_EQ(r.failure(), base::err(base::ErrorKind::ServiceError,
                                   "runtime error: Query timed out in \"query\" at line 1 after 21 seconds."));
}

// Every adapter, run against one failure of the service.
struct Call {
  const char* name;
  std::function<base::Error(const ServiceHosts&)> error_of;  // an empty message when it succeeded
};

template <class T>
base::Error error_text(const base::Result<T>& r) {
  return r.is_ok() ? base::Error{} : r.failure();
}

std::vector<Call> all_adapters() {
  return {
      {"search_places", [](const ServiceHosts& h) { return error_text(search_places(h, "x")); }},
      {"search_areas", [](const ServiceHosts& h) { return error_text(search_areas(h, "x")); }},
      {"reverse_geocode", [](const ServiceHosts& h) { return error_text(reverse_geocode(h, 1, 2)); }},
      {"fetch_route",
       [](const ServiceHosts& h) {
         return error_text(fetch_route(h, TravelMode::Car, {1, 2}, {3, 4}));
       }},
      {"fetch_transit_plan",
       [](const ServiceHosts& h) {
         return error_text(fetch_transit_plan(h, {}, {1, 2}, {3, 4}));
       }},
      {"fetch_pois", [](const ServiceHosts& h) { return error_text(fetch_pois(h, 1, 2, 3, 4)); }},
  };
}

TEST_F(Adapters, HttpErrorsCarryTheStatusText) {
  for (const auto& [status, text] : std::vector<std::pair<int, std::string>>{
           {404, "HTTP 404 Not Found"}, {500, "HTTP 500 Internal Server Error"}, {429, "HTTP 429 Too Many Requests"}}) {
    FakeService failing;
    failing.on(".*", [status = status](const httplib::Request&, httplib::Response& res) {
      res.status = status;
      res.set_content(R"({"error":"nope"})", "application/json");
    });
    for (const auto& call : all_adapters()) {
      EXPECT_EQ(call.error_of(hosts_at(failing.host())), base::err(base::ErrorKind::ServiceError, text, status))
          << call.name;
    }
  }
}

TEST_F(Adapters, BodiesThatAreNotJson) {
  svc.on(".*", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("<html>Service busy</html>", "text/html");
  });
  for (const auto& call : all_adapters()) {
    const base::Error e = call.error_of(hosts);
    EXPECT_THAT(e.message, HasSubstr("error decoding response body")) << call.name;
    EXPECT_EQ(e.kind, base::ErrorKind::BadReply) << call.name;
  }
}

TEST_F(Adapters, WrongShapes) {
  using K = base::ErrorKind;
  svc.reply(".*", R"({"unexpected": [1, {"lat": null}]})");
  const std::pair<const char*, base::Error> want[] = {
      {"search_places", base::err(K::BadReply, "unexpected response")},
      {"search_areas", base::err(K::BadReply, "unexpected response")},
      // An answer without an address: the service has none for the point.
      {"reverse_geocode", base::err(K::NoResult, "no address for this location")},
      {"fetch_route", base::err(K::BadReply, "routing failed")},
      {"fetch_transit_plan", base::err(K::BadReply, "no itineraries")},
      {"fetch_pois", base::Error{}},
  };
  const auto calls = all_adapters();
  for (std::size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i].error_of(hosts), want[i].second) << calls[i].name;
}

TEST_F(Adapters, StallingServiceTimesOut) {
  svc.on(".*", [&](const httplib::Request&, httplib::Response& res) {
    svc.wait_for_release();
    res.set_content("[]", "application/json");
  });
  ServiceHosts quick = hosts;
  quick.timeout = 100ms;
  for (const auto& call : all_adapters()) {
    const base::Error e = call.error_of(quick);
    EXPECT_THAT(e.message, HasSubstr("timed out")) << call.name;
    EXPECT_EQ(e.kind, base::ErrorKind::TimedOut) << call.name;
  }
}

TEST_F(Adapters, ServicesThatCannotBeReached) {
  testing::ResettingServer resetting;
  const std::pair<const char*, std::string> services[] = {
      {"refused", "http://127.0.0.1:" + std::to_string(testing::closed_port())},
      {"reset", resetting.host()},
  };
  for (const auto& [what, host] : services) {
    for (const auto& call : all_adapters()) {
      const base::Error e = call.error_of(hosts_at(host));
      EXPECT_FALSE(e.message.empty()) << what << " " << call.name;
      EXPECT_EQ(e.kind, base::ErrorKind::Unreachable) << what << " " << call.name << ": " << e.message;
    }
  }
  EXPECT_THAT(search_places(hosts_at(services[0].second), "x").error(), HasSubstr("onnect"));
}

}  // namespace
}  // namespace maps

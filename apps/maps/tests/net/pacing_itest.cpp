#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "fake_service.hpp"
#include "net/job_spawner.hpp"

namespace maps {
namespace {

using testing::FakeService;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kWait = 6s;  // bound on every receive
// The server sees a request a little after it leaves; two arrival times of requests sent a
// second apart may come out this much closer together.
constexpr auto kArrivalJitter = 100ms;

ServiceHosts hosts_at(const std::string& host) {
  ServiceHosts h;
  h.nominatim = h.overpass = h.osrm = h.motis = host;
  h.timeout = 3s;
  return h;
}

WorkerResult receive(base::Receiver<WorkerResult>& rx) {
  auto got = rx.recv_for(kWait);
  EXPECT_EQ(got.status, base::RecvStatus::Value);
  if (!got.value) return worker::Route{base::err("nothing received")};
  return std::move(*got.value);
}

// Arrival times of the requests a fake service answers, by what they asked for.
struct Arrivals {
  std::mutex mu;
  std::vector<std::pair<std::string, Clock::time_point>> seen;
  void add(std::string what) {
    std::lock_guard lock(mu);
    seen.emplace_back(std::move(what), Clock::now());
  }
  std::vector<std::pair<std::string, Clock::time_point>> get() {
    std::lock_guard lock(mu);
    return seen;
  }
};

TEST(Pacing, GeocoderRequestsLeaveASecondApartAndANewerQueryReplacesAnUnsentOne) {
  FakeService svc;
  Arrivals arrivals;
  svc.on("/search", [&](const httplib::Request& req, httplib::Response& res) {
    const std::string q = req.get_param_value("q");
    arrivals.add(q);
    res.set_content(R"([{"lat":"48.1","lon":"11.5","name":"Result )" + q + R"("}])", "application/json");
  });
  svc.on("/reverse", [&](const httplib::Request&, httplib::Response& res) {
    arrivals.add("reverse");
    res.set_content(R"({"name":"Marienplatz"})", "application/json");
  });
  auto [tx, rx] = base::channel<WorkerResult>();
  {
    ThreadJobSpawner spawner(hosts_at(svc.host()), tx);
    spawner.spawn(PlaceSearchJob{"m"});
    ASSERT_EQ(receive(rx),
              WorkerResult(worker::PlaceSearch{
                  std::vector<Place>{{"osm-n-0", "Result m", Category::Other, "", {48.1, 11.5}, false}}, "m"}));
    // Typed while the first answer is fresh: these wait their turn, and each newer search box
    // text replaces the one before it; the reverse lookup only waits.
    spawner.spawn(PlaceSearchJob{"ma"});
    spawner.spawn(ReverseGeocodeJob{48.1, 11.5});
    spawner.spawn(PlaceSearchJob{"mar"});
    spawner.spawn(PlaceSearchJob{"mari"});

    std::vector<WorkerResult> answers;
    for (int i = 0; i < 4; ++i) answers.push_back(receive(rx));
    // The two replaced searches answer at once, as replaced, with nothing to show.
    EXPECT_EQ(answers[0], WorkerResult(worker::Superseded{}));
    EXPECT_EQ(answers[1], WorkerResult(worker::Superseded{}));
    const auto* search = std::get_if<worker::PlaceSearch>(&answers[2]);
    ASSERT_NE(search, nullptr);
    EXPECT_EQ(search->query, "mari");
    ASSERT_TRUE(search->result.is_ok());
    EXPECT_EQ(search->result->at(0).name, "Result mari");
    // The newest text took the replaced one's place in line, ahead of the reverse lookup.
    EXPECT_EQ(answers[3], WorkerResult(worker::ReverseGeocode{std::string("Marienplatz")}));
  }

  const auto seen = arrivals.get();
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].first, "m");
  EXPECT_EQ(seen[1].first, "mari");
  EXPECT_EQ(seen[2].first, "reverse");
  for (std::size_t i = 1; i < seen.size(); ++i) {
    EXPECT_GE(seen[i].second - seen[i - 1].second, kGeocoderSpacing - kArrivalJitter) << seen[i].first;
  }
}

TEST(Pacing, RetryAfterOfA429HoldsBackTheNextRequestToThatHostOnly) {
  FakeService routing;
  FakeService planner;
  Arrivals arrivals;
  std::atomic<int> replies{0};
  routing.on(R"(/route/v1/.*)", [&](const httplib::Request&, httplib::Response& res) {
    arrivals.add("route");
    if (replies++ == 0) {
      res.status = 429;
      res.set_header("Retry-After", "2");
      res.set_content(R"({"message":"Too Many Requests"})", "application/json");
      return;
    }
    res.set_content(R"({"code":"Ok","routes":[]})", "application/json");
  });
  planner.reply("/api/v1/plan", R"({"itineraries":[]})");

  ServiceHosts hosts = hosts_at(routing.host());
  hosts.motis = planner.host();
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(hosts, tx);
  spawner.spawn(RouteJob{TravelMode::Car, {48.1, 11.5}, {48.2, 11.6}});
  EXPECT_EQ(receive(rx),
            WorkerResult(worker::Route{base::err(base::ErrorKind::ServiceError,
                                                 "the routing service asks to wait 2 s \u2014 try again later", 429)}));
  const auto refused_at = Clock::now();

  spawner.spawn(RouteJob{TravelMode::Car, {48.1, 11.5}, {48.2, 11.6}});
  spawner.spawn(TransitJob{{}, {48.1, 11.5}, {48.2, 11.6}});
  // Another host is not held: the journey plan answers first.
  const auto first = receive(rx);
  EXPECT_TRUE(std::holds_alternative<worker::Transit>(first));
  EXPECT_LT(Clock::now() - refused_at, 1500ms);
  const auto second = receive(rx);
  ASSERT_TRUE(std::holds_alternative<worker::Route>(second));
  EXPECT_TRUE(std::get<worker::Route>(second).result.is_ok());

  const auto seen = arrivals.get();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_GE(seen[1].second - seen[0].second, 2s - kArrivalJitter);
}

// A geocoder that asks for a day: the search says how long it asks for (cut to ten minutes), and
// the next search is refused at once, saying the same, without reaching the service.
TEST(Pacing, AHugeRetryAfterIsCutToTenMinutesAndSaidSo) {
  FakeService svc;
  std::atomic<int> hits{0};
  svc.on("/search", [&](const httplib::Request&, httplib::Response& res) {
    ++hits;
    res.status = 429;
    res.set_header("Retry-After", "86400");
    res.set_content("[]", "application/json");
  });
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(hosts_at(svc.host()), tx);
  const base::Error said =
      base::err(base::ErrorKind::ServiceError, "the search service asks to wait 10 min \u2014 try again later", 429);
  spawner.spawn(PlaceSearchJob{"cafe"});
  EXPECT_EQ(receive(rx), WorkerResult(worker::PlaceSearch{said, "cafe"}));
  const auto asked = Clock::now();
  spawner.spawn(PlaceSearchJob{"bar"});
  EXPECT_EQ(receive(rx), WorkerResult(worker::PlaceSearch{said, "bar"}));
  EXPECT_LT(Clock::now() - asked, 2s);
  EXPECT_EQ(hits.load(), 1);
}

}  // namespace
}  // namespace maps

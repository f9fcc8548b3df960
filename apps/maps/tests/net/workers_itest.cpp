#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <type_traits>

#include "fake_service.hpp"
#include "net/job_spawner.hpp"
#include "net/workers.hpp"

namespace maps {
namespace {

using testing::FakeService;
using namespace std::chrono_literals;

constexpr auto kWait = 5s;  // bound on every receive; answers come in milliseconds

ServiceHosts hosts_at(const std::string& host) {
  ServiceHosts h;
  h.nominatim = h.overpass = h.osrm = h.motis = host;
  h.timeout = 2s;
  return h;
}

std::string place_reply(const std::string& name) { return R"([{"lat":"48.1","lon":"11.5","name":")" + name + R"("}])"; }

WorkerResult receive(base::Receiver<WorkerResult>& rx) {
  auto got = rx.recv_for(kWait);
  EXPECT_EQ(got.status, base::RecvStatus::Value);
  if (!got.value) return worker::ReverseGeocode{base::err("nothing received")};
  return std::move(*got.value);
}

TEST(RequestThreads, SearchAnswersArriveAsTheyFinishEachWithItsQuery) {
  FakeService svc;
  svc.on("/search", [&](const httplib::Request& req, httplib::Response& res) {
    const std::string q = req.get_param_value("q");
    if (q == "first") svc.wait_for_release();  // held until the later search has answered
    res.set_content(place_reply("Result " + q), "application/json");
  });
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(hosts_at(svc.host()), tx);
  spawner.spawn(PlaceSearchJob{"first"});
  spawner.spawn(PlaceSearchJob{"second"});  // sent a second later: the first has gone out

  auto a = std::get<worker::PlaceSearch>(receive(rx));
  EXPECT_EQ(a.query, "second");
  ASSERT_TRUE(a.result.is_ok()) << a.result.error();
  EXPECT_EQ(a.result->at(0).name, "Result second");

  svc.release();
  auto b = std::get<worker::PlaceSearch>(receive(rx));
  EXPECT_EQ(b.query, "first");
  ASSERT_TRUE(b.result.is_ok()) << b.result.error();
  EXPECT_EQ(b.result->at(0).name, "Result first");
}

TEST(RequestThreads, EndpointAnswersNameTheirField) {
  FakeService svc;
  svc.reply("/search", place_reply("Stachus"));
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(hosts_at(svc.host()), tx);
  spawner.spawn(EndpointSearchJob{"from here", EndpointField::Origin});
  auto origin = std::get<worker::EndpointSearch>(receive(rx));
  EXPECT_EQ(origin.field, EndpointField::Origin);
  EXPECT_EQ(origin.query, "from here");
  spawner.spawn(EndpointSearchJob{"to there", EndpointField::Destination});
  auto dest = std::get<worker::EndpointSearch>(receive(rx));
  EXPECT_EQ(dest.field, EndpointField::Destination);
  EXPECT_EQ(dest.query, "to there");
  ASSERT_TRUE(dest.result.is_ok());
  EXPECT_EQ(dest.result->at(0).name, "Stachus");
}

TEST(RequestThreads, PoiAnswerKeepsItsGeneration) {
  FakeService svc;
  svc.reply("/api/interpreter", R"({"elements":[]})");
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(hosts_at(svc.host()), tx);
  spawner.spawn(PoiJob{48.1, 11.5, 48.2, 11.6, 7});
  spawner.spawn(PoiJob{48.1, 11.5, 48.2, 11.6, 8});
  std::set<std::uint64_t> generations;
  for (int i = 0; i < 2; ++i) {
    auto p = std::get<worker::Pois>(receive(rx));
    EXPECT_TRUE(p.result.is_ok());
    generations.insert(p.generation);
  }
  EXPECT_EQ(generations, (std::set<std::uint64_t>{7, 8}));
}

TEST(RequestThreads, EveryJobKindAnswersWithItsVariantAndTheFailureText) {
  FakeService svc;
  svc.on(".*", [](const httplib::Request&, httplib::Response& res) {
    res.status = 503;
    res.set_content("{}", "application/json");
  });
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(hosts_at(svc.host()), tx);
  spawner.spawn(PlaceSearchJob{"a"});
  spawner.spawn(EndpointSearchJob{"b", EndpointField::Origin});
  spawner.spawn(ReverseGeocodeJob{48.1, 11.5});
  spawner.spawn(RouteJob{TravelMode::Foot, {48.1, 11.5}, {48.2, 11.6}, 41});
  spawner.spawn(TransitJob{{}, {48.1, 11.5}, {48.2, 11.6}, 42});
  spawner.spawn(PoiJob{48.1, 11.5, 48.2, 11.6, 1});
  spawner.spawn(AreaSearchJob{"c"});

  std::set<std::size_t> kinds;
  for (int i = 0; i < 7; ++i) {
    const auto msg = receive(rx);
    kinds.insert(msg.index());
    std::visit(
        [](const auto& m) {
          if constexpr (std::is_same_v<std::decay_t<decltype(m)>, worker::Superseded>) {
            ADD_FAILURE() << "no request here was replaced";
          } else {
            EXPECT_EQ(m.result.failure(),
                      base::err(base::ErrorKind::ServiceError, "HTTP 503 Service Unavailable", 503));
          }
        },
        msg);
    // Plan answers carry the number of the request they answer.
    if (const auto* r = std::get_if<worker::Route>(&msg)) {
      EXPECT_EQ(r->request, 41u);
    }
    if (const auto* t = std::get_if<worker::Transit>(&msg)) {
      EXPECT_EQ(t->request, 42u);
    }
  }
  EXPECT_EQ(kinds, (std::set<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(RequestThreads, DroppedReceiverEndsTheJobQuietly) {
  FakeService svc;
  svc.reply("/search", place_reply("Gone"));
  auto [tx, rx] = base::channel<WorkerResult>();
  { auto drop = std::move(rx); }
  // The body runs to its end on this thread: the request is made, the send fails silently.
  search_worker_main({"anyone"}, hosts_at(svc.host()), tx);
  area_search_worker_main({"anyone"}, hosts_at(svc.host()), tx);
  EXPECT_EQ(svc.requests().size(), 2u);
  EXPECT_FALSE(tx.is_connected());
}

}  // namespace
}  // namespace maps

#include <dirent.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "fake_service.hpp"
#include "net/http_client.hpp"
#include "net/job_spawner.hpp"

namespace maps {
namespace {

using testing::FakeService;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Threads of this process, from /proc.
int thread_count() {
  DIR* dir = ::opendir("/proc/self/task");
  if (dir == nullptr) return -1;
  int n = 0;
  while (const dirent* e = ::readdir(dir)) {
    if (e->d_name[0] != '.') ++n;
  }
  ::closedir(dir);
  return n;
}

// A service that takes every request but "/warm" and answers none until the test ends.
void stall_everything(FakeService& svc) {
  svc.reply("/warm", "[]");
  svc.on(".*", [&](const httplib::Request&, httplib::Response& res) {
    svc.wait_for_release(20s);
    res.set_content("[]", "application/json");
  });
}

ServiceHosts slow_hosts(const FakeService& svc) {
  ServiceHosts h;
  h.nominatim = h.overpass = h.osrm = h.motis = svc.host();
  h.timeout = 30s;  // only cancelling can end these requests in time
  return h;
}

bool wait_for_requests(const FakeService& svc, std::size_t n) {
  n += 1;  // the warm-up request
  for (int i = 0; i < 1000 && svc.requests().size() < n; ++i) std::this_thread::sleep_for(5ms);
  return svc.requests().size() >= n;
}

TEST(SpawnerShutdown, CancelsRequestsInFlightAnswersWaitingOnesAndJoinsEveryThread) {
  FakeService svc;
  stall_everything(svc);
  auto [tx, rx] = base::channel<WorkerResult>();
  // The server starts its worker threads with its first connection.
  ASSERT_TRUE(get_json(svc.host() + "/warm").is_ok());
  const int threads_before = thread_count();
  ASSERT_GT(threads_before, 0);

  auto spawner = std::make_unique<ThreadJobSpawner>(slow_hosts(svc), tx);
  spawner->spawn(RouteJob{TravelMode::Car, {48.1, 11.5}, {48.2, 11.6}, 5});
  spawner->spawn(PlaceSearchJob{"in flight"});
  spawner->spawn(PlaceSearchJob{"waiting"});  // its turn is a second away
  ASSERT_TRUE(wait_for_requests(svc, 2));
  EXPECT_EQ(spawner->threads(), 3u);

  const auto start = Clock::now();
  spawner.reset();
  // Well before the stalled service would let go, and far before the request time-out.
  EXPECT_LT(Clock::now() - start, 10s);
  EXPECT_EQ(thread_count(), threads_before) << "a request thread outlived its spawner";

  std::vector<WorkerResult> answers;
  for (auto got = rx.try_recv(); got.has_value(); got = rx.try_recv()) answers.push_back(std::move(*got.value));
  EXPECT_THAT(
      answers,
      ::testing::UnorderedElementsAre(
          WorkerResult(worker::Route{base::err(base::ErrorKind::Cancelled, "request cancelled"), 5}),
          WorkerResult(worker::PlaceSearch{base::err(base::ErrorKind::Cancelled, "request cancelled"), "in flight"}),
          WorkerResult(worker::PlaceSearch{base::err(base::ErrorKind::Cancelled, "request cancelled"), "waiting"})));
  EXPECT_EQ(svc.requests().size(), 3u) << "the waiting search was never sent";
}

TEST(SpawnerShutdown, ReapsFinishedThreadsAsItGoes) {
  FakeService svc;
  svc.reply("/api/interpreter", R"({"elements":[]})");
  auto [tx, rx] = base::channel<WorkerResult>();
  ThreadJobSpawner spawner(slow_hosts(svc), tx);
  for (int i = 0; i < 5; ++i) {
    spawner.spawn(PoiJob{48.1, 11.5, 48.2, 11.6, static_cast<std::uint64_t>(i)});
    // Only the new thread is kept: every earlier one had finished and is joined.
    EXPECT_EQ(spawner.threads(), 1u) << "spawn " << i;
    ASSERT_EQ(rx.recv_for(5s).status, base::RecvStatus::Value);
    const auto give_up = Clock::now() + 10s;
    while (spawner.running_threads() > 0 && Clock::now() < give_up) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(spawner.running_threads(), 0u) << "the answered job's thread did not finish";
  }
}

// The app's way out: its state (and with it the spawner) is destroyed, then the process exits
// and runs the static destructors of curl, OpenSSL, the loggers and the rest. No request
// thread may still be running then.
[[noreturn]] void exit_with_requests_in_flight() {
  auto svc = std::make_unique<FakeService>();
  stall_everything(*svc);
  auto channel = base::channel<WorkerResult>();
  if (!get_json(svc->host() + "/warm").is_ok()) std::exit(4);
  auto spawner = std::make_unique<ThreadJobSpawner>(slow_hosts(*svc), channel.first);
  spawner->spawn(PlaceSearchJob{"in flight"});
  spawner->spawn(ReverseGeocodeJob{48.1, 11.5});
  spawner->spawn(RouteJob{TravelMode::Car, {48.1, 11.5}, {48.2, 11.6}});
  if (!wait_for_requests(*svc, 2)) std::exit(3);
  spawner.reset();
  svc.reset();
  std::exit(0);
}

TEST(SpawnerShutdownDeathTest, ProcessExitsCleanlyWhileRequestsAreInFlight) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(exit_with_requests_in_flight(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace maps

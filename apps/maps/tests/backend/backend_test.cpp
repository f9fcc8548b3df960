#include "backend/backend.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "net/recording_job_spawner.hpp"

namespace maps {
namespace {

struct StartCase {
  std::string what;
  JobRequest job;
  bool waited_for;  // counted in a demonstration state
};

std::vector<StartCase> start_cases() {
  return {{"place search", PlaceSearchJob{"cafe"}, true},
          {"endpoint search", EndpointSearchJob{"station", EndpointField::Origin}, true},
          {"area search", AreaSearchJob{"Munich"}, true},
          {"route", RouteJob{TravelMode::Foot, {48.1, 11.5}, {48.2, 11.6}, 3}, true},
          {"journey", TransitJob{{}, {48.1, 11.5}, {48.2, 11.6}, 4}, true},
          {"address of a fix", ReverseGeocodeJob{48.1, 11.5}, false},
          {"places of the view", PoiJob{48.0, 11.4, 48.2, 11.6, 7}, false}};
}

TEST(BackendStart, LiveCountsAndStartsEveryJob) {
  for (const StartCase& c : start_cases()) {
    Backend backend;
    auto recorder = std::make_unique<RecordingJobSpawner>();
    RecordingJobSpawner& spawned = *recorder;
    backend.job_spawner = std::move(recorder);
    backend.live = true;
    EXPECT_TRUE(backend.start(c.job)) << c.what;
    EXPECT_EQ(backend.pending_jobs, 1u) << c.what;
    ASSERT_EQ(spawned.requests.size(), 1u) << c.what;
    EXPECT_EQ(spawned.requests.front(), c.job) << c.what;
  }
}

TEST(BackendStart, ADemonstrationStateStartsNothingAndCountsWhatTheWindowWaitsFor) {
  for (const StartCase& c : start_cases()) {
    Backend backend;
    auto recorder = std::make_unique<RecordingJobSpawner>();
    RecordingJobSpawner& spawned = *recorder;
    backend.job_spawner = std::move(recorder);
    EXPECT_EQ(backend.start(c.job), c.waited_for) << c.what;
    EXPECT_EQ(backend.pending_jobs, c.waited_for ? 1u : 0u) << c.what;
    EXPECT_TRUE(spawned.requests.empty()) << c.what;
  }
}

TEST(BackendStart, AnAnswerSentAgainIsCountedAndComesBackThroughTheChannel) {
  Backend backend;
  EXPECT_FALSE(backend.take_result().has_value());
  const WorkerResult kept{worker::PlaceSearch{std::vector<Place>{}, "cafe"}};
  backend.answer_again(kept);
  EXPECT_EQ(backend.pending_jobs, 1u);
  const auto taken = backend.take_result();
  ASSERT_TRUE(taken.has_value());
  EXPECT_EQ(*taken, kept);
  EXPECT_FALSE(backend.take_result().has_value());
}

}  // namespace
}  // namespace maps

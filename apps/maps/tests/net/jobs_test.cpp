#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

#include "net/recording_job_spawner.hpp"
#include "net/workers.hpp"

namespace maps {
namespace {

TEST(RecordingJobSpawner, KeepsRequestsInOrder) {
  RecordingJobSpawner fake;
  JobSpawner& spawner = fake;
  spawner.spawn(PlaceSearchJob{"cafe"});
  spawner.spawn(RouteJob{TravelMode::Bike, {1, 2}, {3, 4}});
  spawner.spawn(TransitJob{{"2026-12-08T14:05:00+01:00", true}, {1, 2}, {3, 4}});
  spawner.spawn(PlaceSearchJob{"bar"});
  spawner.spawn(PoiJob{1, 2, 3, 4, 9});
  ASSERT_EQ(fake.requests.size(), 5u);
  EXPECT_EQ(fake.requests[1], JobRequest(RouteJob{TravelMode::Bike, {1, 2}, {3, 4}}));
  EXPECT_EQ(fake.of_kind<PlaceSearchJob>(), (std::vector<PlaceSearchJob>{{"cafe"}, {"bar"}}));
  EXPECT_EQ(fake.of_kind<PoiJob>().at(0).generation, 9u);
  EXPECT_TRUE(fake.of_kind<TransitJob>().at(0).query.arrive_by);
}

TEST(SpawnFailureDeathTest, StopsTheProcessWithTheSystemError) {
  const std::system_error refused(EAGAIN, std::generic_category(), "thread");
  EXPECT_DEATH(stop_on_spawn_failure(refused), "failed to spawn thread: thread");
}

}  // namespace
}  // namespace maps

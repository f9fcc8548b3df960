#include "tiles/tile_host_health.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace maps {
namespace {

using namespace std::chrono_literals;
using TimePoint = TileHostHealth::TimePoint;

const TimePoint t0{};

TEST(TileHostHealth, ThreeTransfersInARowWithoutAReplyMakeTheHostFail) {
  TileHostHealth h(5s);
  EXPECT_FALSE(h.failed(false, t0));
  EXPECT_FALSE(h.failed(false, t0));
  EXPECT_FALSE(h.failing());
  // A reply in between starts the count again.
  EXPECT_FALSE(h.answered(404, std::nullopt, t0));
  EXPECT_FALSE(h.failed(false, t0));
  EXPECT_FALSE(h.failed(false, t0));
  EXPECT_TRUE(h.failed(false, t0 + 1s));
  EXPECT_TRUE(h.failing());
  EXPECT_FALSE(h.may_start(t0 + 5s));
  EXPECT_EQ(h.next_start(t0 + 1s), t0 + 6s);
  EXPECT_TRUE(h.may_start(t0 + 6s));
}

// While failing, one probe at a time after each pause; failed probes double the pause up to five
// minutes; transfers begun before the host failed change nothing; any reply ends it.
TEST(TileHostHealth, AFailingHostIsProbedAfterAGrowingPause) {
  TileHostHealth h(5s);
  TimePoint now = t0;
  for (int i = 0; i < kHostFailuresInARow; ++i) h.failed(false, now);
  ASSERT_TRUE(h.failing());
  EXPECT_FALSE(h.failed(false, now));  // a transfer from before
  EXPECT_EQ(h.pause(), 5s);

  std::vector<std::chrono::milliseconds> pauses;
  for (int probe = 0; probe < 8; ++probe) {
    now += h.pause();
    ASSERT_TRUE(h.may_start(now));
    EXPECT_TRUE(h.started(now));
    EXPECT_FALSE(h.may_start(now)) << "a second probe while one runs";
    EXPECT_EQ(h.next_start(now), std::nullopt);
    EXPECT_FALSE(h.failed(true, now));
    pauses.push_back(h.pause());
  }
  EXPECT_EQ(pauses, (std::vector<std::chrono::milliseconds>{10s, 20s, 40s, 80s, 160s, 300s, 300s, 300s}));

  now += h.pause();
  EXPECT_TRUE(h.started(now));
  EXPECT_TRUE(h.answered(200, std::nullopt, now));
  EXPECT_FALSE(h.failing());
  EXPECT_TRUE(h.may_start(now));
  EXPECT_FALSE(h.started(now));  // an ordinary transfer again
}

TEST(TileHostHealth, RetryAfterHoldsEveryTransferBackForAtMostTenMinutes) {
  struct Case {
    std::chrono::seconds retry_after;
    std::chrono::milliseconds held;
  };
  for (const Case& c : {Case{1s, 1s}, Case{120s, 120s}, Case{600s, 600s}, Case{86400s, 600s}}) {
    TileHostHealth h;
    EXPECT_FALSE(h.answered(429, c.retry_after, t0));
    EXPECT_EQ(h.hold_left(t0), c.held) << c.retry_after.count();
    EXPECT_FALSE(h.may_start(t0 + c.held - 1ms));
    EXPECT_EQ(h.next_start(t0), t0 + c.held);
    EXPECT_TRUE(h.may_start(t0 + c.held));
    EXPECT_EQ(h.hold_left(t0 + c.held), 0ms);
    EXPECT_FALSE(h.failing());  // the host answers; it only asks for a pause
  }
  // A shorter pause asked later does not cut a longer one.
  TileHostHealth h;
  h.answered(429, 60s, t0);
  h.answered(429, 1s, t0 + 1s);
  EXPECT_EQ(h.hold_left(t0), 60s);
}

}  // namespace
}  // namespace maps

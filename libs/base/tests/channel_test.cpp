#include "base/channel.hpp"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(Channel, DeliversInOrderThenReportsEmpty) {
  auto [tx, rx] = base::channel<int>();
  EXPECT_TRUE(tx.send(1));
  EXPECT_TRUE(tx.send(2));
  EXPECT_EQ(*rx.try_recv().value, 1);
  EXPECT_EQ(*rx.try_recv().value, 2);
  EXPECT_EQ(rx.try_recv().status, base::RecvStatus::Empty);
}

TEST(Channel, ReceiverSeesDisconnectOnlyAfterDrainingTheLastSender) {
  auto [tx, rx] = base::channel<int>();
  {
    auto second = tx;
    second.send(7);
  }
  EXPECT_EQ(rx.try_recv().status, base::RecvStatus::Value);
  EXPECT_EQ(rx.try_recv().status, base::RecvStatus::Empty);  // tx still alive
  tx.send(8);
  { auto gone = std::move(tx); }
  EXPECT_EQ(*rx.try_recv().value, 8);
  EXPECT_EQ(rx.try_recv().status, base::RecvStatus::Disconnected);
  EXPECT_EQ(rx.recv(), std::nullopt);
}

TEST(Channel, SendReportsAGoneReceiver) {
  auto [tx, rx] = base::channel<std::string>();
  EXPECT_TRUE(tx.is_connected());
  { auto gone = std::move(rx); }
  EXPECT_FALSE(tx.send("late"));
  EXPECT_FALSE(tx.is_connected());
  base::Sender<std::string> empty;
  EXPECT_FALSE(empty.send("x"));
}

TEST(Channel, RecvForTimesOutAsEmpty) {
  auto [tx, rx] = base::channel<int>();
  auto got = rx.recv_for(std::chrono::milliseconds(5));
  EXPECT_EQ(got.status, base::RecvStatus::Empty);
}

TEST(Channel, ManyProducersLoseNothing) {
  auto [tx, rx] = base::channel<int>();
  constexpr int kThreads = 8, kEach = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, sender = tx] {
      for (int i = 0; i < kEach; ++i) sender.send(t * kEach + i);
    });
  }
  { auto drop = std::move(tx); }
  std::set<int> seen;
  while (auto v = rx.recv()) seen.insert(*v);
  for (auto& th : threads) th.join();
  EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kEach));
}

// The waker runs after each value, once when the last sender goes, at once when something is
// already waiting as it is set, and never after it is removed or the receiver is gone.
TEST(Channel, WakerRunsForValuesAndTheDisconnect) {
  auto [tx, rx] = base::channel<int>();
  int wakes = 0;
  tx.send(1);
  rx.set_waker([&] { ++wakes; });
  EXPECT_EQ(wakes, 1);  // a value was already waiting
  EXPECT_TRUE(rx.has_waker());
  tx.send(2);
  tx.send(3);
  EXPECT_EQ(wakes, 3);
  auto second = tx;
  { auto gone = std::move(second); }
  EXPECT_EQ(wakes, 3);  // another sender is still there
  { auto gone = std::move(tx); }
  EXPECT_EQ(wakes, 4);
  EXPECT_EQ(*rx.try_recv().value, 1);

  auto [tx2, rx2] = base::channel<int>();
  int quiet = 0;
  rx2.set_waker([&] { ++quiet; });
  EXPECT_EQ(quiet, 0);  // nothing waiting
  rx2.set_waker({});
  EXPECT_FALSE(rx2.has_waker());
  tx2.send(1);
  EXPECT_EQ(quiet, 0);
  rx2.set_waker([&] { ++quiet; });
  EXPECT_EQ(quiet, 1);
  { auto gone = std::move(rx2); }
  EXPECT_FALSE(tx2.send(2));
  EXPECT_EQ(quiet, 1);
}

// A receiver waiting on a waker alone (no polling) sees every value of many producers.
TEST(Channel, WakerFromManyThreadsLosesNoWakeUp) {
  auto [tx, rx] = base::channel<int>();
  std::mutex mu;
  std::condition_variable cv;
  int signalled = 0;
  rx.set_waker([&] {
    std::lock_guard lock(mu);
    ++signalled;
    cv.notify_one();
  });
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([sender = tx] {
      for (int i = 0; i < kEach; ++i) sender.send(i);
    });
  }
  { auto drop = std::move(tx); }
  int received = 0;
  bool disconnected = false;
  while (!disconnected) {
    {
      std::unique_lock lock(mu);
      cv.wait(lock, [&] { return signalled > 0; });
      signalled = 0;
    }
    for (auto got = rx.try_recv(); got.status != base::RecvStatus::Empty; got = rx.try_recv()) {
      if (got.status == base::RecvStatus::Disconnected) {
        disconnected = true;
        break;
      }
      ++received;
    }
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(received, kThreads * kEach);
}

}  // namespace

#include "base/channel.hpp"

#include <gtest/gtest.h>

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

}  // namespace

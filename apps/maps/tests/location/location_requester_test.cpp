#include "location/location_requester.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <system_error>

#include "location/handle_token.hpp"
#include "location/location.hpp"

namespace maps {
namespace {

// Hands out receivers whose sending ends the test keeps, so it decides when a request answers.
struct ManualSource {
  std::optional<base::Sender<LocationOutcome>> sender;
  int spawned = 0;
  LocationRequester::Spawner spawner() {
    return [this] {
      auto [tx, rx] = base::channel<LocationOutcome>();
      sender = std::move(tx);
      ++spawned;
      return std::move(rx);
    };
  }
};

TEST(LocationRequester, RefusesASecondRequestWhileOneIsPending) {
  ManualSource source;
  LocationRequester requester(source.spawner());
  ASSERT_TRUE(requester.start().is_ok());
  base::Status second = requester.start();
  ASSERT_TRUE(second.is_err());
  EXPECT_EQ(second.error(), "request_in_progress");
  EXPECT_EQ(source.spawned, 1);
  EXPECT_EQ(requester.poll().kind, LocationPollKind::Waiting);
  EXPECT_TRUE(requester.pending());
}

TEST(LocationRequester, AnAnswerEndsTheRequestAndAllowsTheNext) {
  ManualSource source;
  LocationRequester requester(source.spawner());
  EXPECT_EQ(requester.poll().kind, LocationPollKind::Idle);
  ASSERT_TRUE(requester.start().is_ok());
  ASSERT_TRUE(source.sender->send(LocationFix{1.0, 2.0, 3.0}));
  LocationPoll poll = requester.poll();
  ASSERT_EQ(poll.kind, LocationPollKind::Outcome);
  EXPECT_EQ(poll.outcome->value(), (LocationFix{1.0, 2.0, 3.0}));
  EXPECT_FALSE(requester.pending());
  EXPECT_TRUE(requester.start().is_ok());
  EXPECT_EQ(source.spawned, 2);
}

TEST(LocationRequester, ARequestEndingWithoutAnswerIsAClosedChannel) {
  ManualSource source;
  LocationRequester requester(source.spawner());
  ASSERT_TRUE(requester.start().is_ok());
  source.sender.reset();
  EXPECT_EQ(requester.poll().kind, LocationPollKind::ChannelClosed);
  EXPECT_FALSE(requester.pending());
}

TEST(LocationWorker, RefusedThreadGivesAnErrorOutcome) {
  auto rx = spawn_location_worker(LocationOptions{}, [](std::function<void()>) {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  });
  auto got = rx.try_recv();
  ASSERT_TRUE(got.has_value());
  ASSERT_TRUE(got.value->is_err());
  EXPECT_EQ(got.value->error(), "failed to spawn location worker thread");
  EXPECT_EQ(rx.try_recv().status, base::RecvStatus::Disconnected);
}

TEST(HandleToken, IsAValidPathElementAndFreshEachTime) {
  std::string a = new_handle_token();
  std::string b = new_handle_token();
  EXPECT_NE(a, b);
  for (char c : a) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_') << a;
}

TEST(HandleToken, RequestPathFollowsTheSenderName) {
  EXPECT_EQ(request_path_for(":1.42", "maps_x"), "/org/freedesktop/portal/desktop/request/1_42/maps_x");
}

}  // namespace
}  // namespace maps

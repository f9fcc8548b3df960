#include "location/location_requester.hpp"

#include <utility>

namespace maps {

LocationRequester::LocationRequester() : LocationRequester(LocationOptions{}) {}

LocationRequester::LocationRequester(LocationOptions options)
    : spawner_([options = std::move(options)] { return spawn_location_worker(options); }) {}

LocationRequester::LocationRequester(Spawner spawner) : spawner_(std::move(spawner)) {}

base::Status LocationRequester::start() {
  if (receiver_) return base::err("request_in_progress");
  receiver_.emplace(spawner_());
  return {};
}

LocationPoll LocationRequester::poll() {
  if (!receiver_) return {};
  auto got = receiver_->try_recv();
  switch (got.status) {
    case base::RecvStatus::Empty: return {LocationPollKind::Waiting, std::nullopt};
    case base::RecvStatus::Value: receiver_.reset(); return {LocationPollKind::Outcome, std::move(got.value)};
    case base::RecvStatus::Disconnected: break;
  }
  receiver_.reset();
  return {LocationPollKind::ChannelClosed, std::nullopt};
}

}  // namespace maps

#pragma once
// Holds the one location request that may run at a time and polls it without waiting.

#include <functional>
#include <optional>

#include "base/channel.hpp"
#include "base/result.hpp"
#include "location/location.hpp"

namespace maps {

enum class LocationPollKind {
  Idle,           // no request
  Waiting,        // asked, no answer yet
  Outcome,        // the answer is in `outcome`; the request is over
  ChannelClosed,  // the request ended without answering; it is over
};

struct LocationPoll {
  LocationPollKind kind = LocationPollKind::Idle;
  std::optional<LocationOutcome> outcome;
};

class LocationRequester {
 public:
  using Spawner = std::function<base::Receiver<LocationOutcome>()>;

  // The portal on the session bus.
  LocationRequester();
  explicit LocationRequester(LocationOptions options);
  // Tests hand in their own request source.
  explicit LocationRequester(Spawner spawner);

  // Refused with "request_in_progress" while an earlier request has not answered.
  base::Status start();
  bool pending() const { return receiver_.has_value(); }
  LocationPoll poll();

 private:
  Spawner spawner_;
  std::optional<base::Receiver<LocationOutcome>> receiver_;
};

}  // namespace maps

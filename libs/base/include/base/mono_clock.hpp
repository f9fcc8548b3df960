#pragma once
// A monotonic clock that can be handed in, and one-shot deadlines on it.

#include <chrono>
#include <functional>
#include <optional>

namespace base {

using MonoClock = std::chrono::steady_clock;
using MonoTime = MonoClock::time_point;

// Reads the monotonic clock; tests hand in their own to step time without sleeping.
using MonoNow = std::function<MonoTime()>;

// True once, when the deadline has passed; the deadline is cleared then.
inline bool take_due(std::optional<MonoTime>& deadline, MonoTime now) {
  if (!deadline || now < *deadline) return false;
  deadline.reset();
  return true;
}

}  // namespace base

#pragma once
// The state's monotonic clock and its one-shot deadlines.

#include <chrono>
#include <functional>
#include <optional>

namespace maps {

using MonoClock = std::chrono::steady_clock;
using MonoTime = MonoClock::time_point;

// Reads the state's monotonic clock; tests hand in their own to step time without sleeping.
using MonoNow = std::function<MonoTime()>;

// How long typing must pause before a field's text is searched.
inline constexpr std::chrono::milliseconds kTypingPause{280};

// True once, when the deadline has passed; the deadline is cleared then.
inline bool take_due(std::optional<MonoTime>& deadline, MonoTime now) {
  if (!deadline || now < *deadline) return false;
  deadline.reset();
  return true;
}

}  // namespace maps

#pragma once
// What a tile worker knows of its tile host: whether it answers, and when it may be asked again.
// Transfers that end without a reply (a time-out, a refused connection) three times in a row mark
// the host as failing: queued tiles then fail at once rather than each waiting out a time-out of
// its own, and one probe at a time tries the host again after a pause that doubles from the first
// up to five minutes. Any reply marks the host as answering again. A reply's Retry-After holds
// every transfer back until then (ten minutes at most). Pure bookkeeping: the caller passes the
// time, so tests run it on a fake clock.

#include <chrono>
#include <optional>

namespace maps {

inline constexpr int kHostFailuresInARow = 3;
inline constexpr std::chrono::milliseconds kFirstHostPause{5000};
inline constexpr std::chrono::milliseconds kLongestHostPause{300000};
inline constexpr std::chrono::milliseconds kLongestTileHold{600000};
// A hold up to this long keeps the screen's tiles waiting for it; a longer one fails them at once,
// as it does the requests of the other services.
inline constexpr std::chrono::milliseconds kLongestTileWait{20000};

class TileHostHealth {
 public:
  using Clock = std::chrono::steady_clock;
  using TimePoint = Clock::time_point;

  explicit TileHostHealth(std::chrono::milliseconds first_pause = kFirstHostPause);

  // A transfer to the host starts now; true when it is the probe of a failing host.
  bool started(TimePoint now);
  // A transfer ended without a reply, or with one (any status). Each returns whether `failing`
  // changed.
  bool failed(bool probe, TimePoint now);
  bool answered(long status, std::optional<std::chrono::seconds> retry_after, TimePoint now);

  bool failing() const { return failing_; }
  // Whether a transfer may start now: not while the host holds requests back, and while it is
  // failing only one probe at a time, once its pause is over.
  bool may_start(TimePoint now) const;
  // How long the host still holds requests back (zero when it does not).
  std::chrono::milliseconds hold_left(TimePoint now) const;
  // When `may_start` turns true by itself; none when it already is, or when only the running
  // probe's end can change it.
  std::optional<TimePoint> next_start(TimePoint now) const;
  // The pause after the last failed probe.
  std::chrono::milliseconds pause() const { return pause_; }

 private:
  std::chrono::milliseconds first_pause_;
  int failures_in_a_row_ = 0;
  bool failing_ = false;
  bool probing_ = false;
  std::chrono::milliseconds pause_{0};
  TimePoint retry_at_{};
  TimePoint held_until_{};
};

}  // namespace maps

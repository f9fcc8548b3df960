#include "tiles/tile_host_health.hpp"

#include <algorithm>
#include <utility>

namespace maps {

TileHostHealth::TileHostHealth(std::chrono::milliseconds first_pause)
    : first_pause_(std::max(first_pause, std::chrono::milliseconds{1})) {}

bool TileHostHealth::started(TimePoint) {
  if (!failing_) return false;
  probing_ = true;
  return true;
}

bool TileHostHealth::failed(bool probe, TimePoint now) {
  if (failing_) {
    // Transfers started before the host was known to fail say nothing new.
    if (!probe) return false;
    probing_ = false;
    pause_ = std::min(pause_ * 2, kLongestHostPause);
    retry_at_ = now + pause_;
    return false;
  }
  if (++failures_in_a_row_ < kHostFailuresInARow) return false;
  failing_ = true;
  probing_ = false;
  pause_ = first_pause_;
  retry_at_ = now + pause_;
  return true;
}

bool TileHostHealth::answered(long, std::optional<std::chrono::seconds> retry_after, TimePoint now) {
  if (retry_after && *retry_after > std::chrono::seconds::zero()) {
    const auto hold = std::min<std::chrono::milliseconds>(*retry_after, kLongestTileHold);
    held_until_ = std::max(held_until_, now + hold);
  }
  failures_in_a_row_ = 0;
  probing_ = false;
  const bool was_failing = std::exchange(failing_, false);
  return was_failing;
}

bool TileHostHealth::may_start(TimePoint now) const {
  if (held_until_ > now) return false;
  return !failing_ || (!probing_ && now >= retry_at_);
}

std::chrono::milliseconds TileHostHealth::hold_left(TimePoint now) const {
  if (held_until_ <= now) return std::chrono::milliseconds{0};
  return std::chrono::ceil<std::chrono::milliseconds>(held_until_ - now);
}

std::optional<TileHostHealth::TimePoint> TileHostHealth::next_start(TimePoint now) const {
  if (may_start(now)) return std::nullopt;
  if (failing_ && probing_) return std::nullopt;
  TimePoint at = held_until_;
  if (failing_) at = std::max(at, retry_at_);
  return at;
}

}  // namespace maps

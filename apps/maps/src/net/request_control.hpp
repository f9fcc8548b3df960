#pragma once
// What the request threads of one spawner share: a flag that aborts their transfers when the
// spawner shuts down, and the per-host limiter that paces them.

#include <atomic>

#include "net/host_limiter.hpp"

namespace maps {

struct RequestControl {
  std::atomic<bool> cancelled{false};
  HostLimiter limiter;
};

}  // namespace maps

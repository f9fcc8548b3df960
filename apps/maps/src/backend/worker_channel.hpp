#pragma once
// The channel the request threads answer on.

#include <utility>

#include "base/channel.hpp"
#include "net/worker_result.hpp"

namespace maps {

// Opens the worker-result channel: the receiver goes into `receiver`, the sender is returned.
inline base::Sender<WorkerResult> open_worker_channel(base::Receiver<WorkerResult>& receiver) {
  auto [tx, rx] = base::channel<WorkerResult>();
  receiver = std::move(rx);
  return std::move(tx);
}

}  // namespace maps

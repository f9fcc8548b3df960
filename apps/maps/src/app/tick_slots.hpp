#pragma once
// Small pieces of state the tick fills: the worker-result channel the jobs answer on, and the
// result slot of the asynchronous "maps.locate" action.

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "base/channel.hpp"
#include "net/worker_result.hpp"

namespace maps {

using LocateRequestId = std::array<std::uint8_t, 16>;

// The answer of one asynchronous action request; `poll_action` hands it out once.
struct AsyncActionResult {
  LocateRequestId request_id{};
  bool ok = false;
  std::string code;     // failures only: a machine id such as "location_unavailable"
  std::string message;  // failures only
  bool operator==(const AsyncActionResult&) const = default;

  static AsyncActionResult success(const LocateRequestId& id) { return {id, true, {}, {}}; }
  static AsyncActionResult failure(const LocateRequestId& id, std::string code, std::string message) {
    return {id, false, std::move(code), std::move(message)};
  }
};

// Opens the worker-result channel: the receiver goes into `receiver`, the sender is returned.
inline base::Sender<WorkerResult> open_worker_channel(base::Receiver<WorkerResult>& receiver) {
  auto [tx, rx] = base::channel<WorkerResult>();
  receiver = std::move(rx);
  return std::move(tx);
}

}  // namespace maps

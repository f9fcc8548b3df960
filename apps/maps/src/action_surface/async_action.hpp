#pragma once
// The result slot of the asynchronous "maps.locate" action.

#include <array>
#include <cstdint>
#include <string>
#include <utility>

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

}  // namespace maps

#pragma once
// One device position fix from the desktop portal's Location interface, asked for on a
// short-lived "maps-location" thread that answers once on a channel made for the request.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "base/channel.hpp"
#include "base/result.hpp"

namespace maps {

struct LocationFix {
  double lat = 0.0;
  double lon = 0.0;
  double accuracy = 0.0;  // metres, as the portal reports it
  bool operator==(const LocationFix&) const = default;
};

// A fix, or an error text for the status line.
using LocationOutcome = base::Result<LocationFix>;

struct LocationOptions {
  // Empty: the user's session bus. Tests pass the address of a private bus.
  std::string bus_address;
  // Covers the portal's Start call together with the first update.
  std::chrono::milliseconds fix_timeout{20000};
};

// A failed portal step: either the portal answered a request negatively (Response code other
// than 0) or the bus reported an error.
struct PortalError {
  bool negative_response = false;
  std::uint32_t response_code = 0;
  std::string text;  // the bus error's display text
  bool operator==(const PortalError&) const = default;
};

std::string portal_error_text(const PortalError& error);

// The whole portal exchange on the calling thread, blocking until the outcome is known.
LocationOutcome request_location(const LocationOptions& options);

// Thread body: runs the exchange and sends its outcome; never throws.
void location_thread_main(base::Sender<LocationOutcome> sender, LocationOptions options);

// Starts one request on its own detached thread. A thread that cannot be created yields the
// error outcome "failed to spawn location worker thread" on the returned channel.
base::Receiver<LocationOutcome> spawn_location_worker(LocationOptions options = {});

// Runs a body on a new thread; throws (std::system_error) when the system refuses one.
using ThreadStarter = std::function<void(std::function<void()> body)>;
base::Receiver<LocationOutcome> spawn_location_worker(LocationOptions options, const ThreadStarter& start_thread);

}  // namespace maps

#include <pthread.h>

#include <exception>
#include <thread>
#include <utility>

#include "fmt/format.h"
#include "location/location.hpp"

namespace maps {

void location_thread_main(base::Sender<LocationOutcome> sender, LocationOptions options) {
  pthread_setname_np(pthread_self(), "maps-location");
  LocationOutcome outcome = base::err(base::ErrorKind::NoResult, "no location fix available");
  try {
    outcome = request_location(options);
  } catch (const std::exception& e) {
    outcome = base::err(fmt::format("location runtime: {}", e.what()));
  } catch (...) {
    outcome = base::err("location runtime: unknown failure");
  }
  // The requester may have gone away meanwhile; nobody is left to tell.
  (void)sender.send(std::move(outcome));
}

base::Receiver<LocationOutcome> spawn_location_worker(LocationOptions options, const ThreadStarter& start_thread) {
  auto [tx, rx] = base::channel<LocationOutcome>();
  // A second end, so a refused thread still leaves an outcome for the next poll.
  base::Sender<LocationOutcome> kept = tx;
  try {
    start_thread([tx = std::move(tx), options = std::move(options)]() mutable {
      location_thread_main(std::move(tx), std::move(options));
    });
  } catch (...) {
    (void)kept.send(base::err("failed to spawn location worker thread"));
  }
  return std::move(rx);
}

base::Receiver<LocationOutcome> spawn_location_worker(LocationOptions options) {
  return spawn_location_worker(std::move(options), [](std::function<void()> body) {
    std::thread(std::move(body)).detach();  // never joined: it ends once its outcome is sent
  });
}

}  // namespace maps

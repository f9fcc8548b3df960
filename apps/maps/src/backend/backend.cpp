#include "backend/backend.hpp"

#include <utility>
#include <variant>

namespace maps {

bool counted_in_demonstration(const JobRequest& job) {
  return !std::holds_alternative<ReverseGeocodeJob>(job) && !std::holds_alternative<PoiJob>(job);
}

bool Backend::start(JobRequest job) {
  if (!live) {
    if (!counted_in_demonstration(job)) return false;
    ++pending_jobs;
    return true;
  }
  ++pending_jobs;
  job_spawner->spawn(std::move(job));
  return true;
}

void Backend::answer_again(WorkerResult result) {
  ++pending_jobs;
  result_sender.send(std::move(result));
}

void Backend::set_waker(std::function<void()> wake) {
  waker = std::move(wake);
  result_receiver.set_waker(waker);
  if (location.receiver) location.receiver->set_waker(waker);
  set_tile_waker(tiles, waker);
}

std::optional<WorkerResult> Backend::take_result() {
  // A closed channel ends the draining like an empty one.
  auto next = result_receiver.try_recv();
  if (!next.has_value()) return std::nullopt;
  return std::move(*next.value);
}

}  // namespace maps

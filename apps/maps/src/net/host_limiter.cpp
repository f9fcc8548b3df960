#include "net/host_limiter.hpp"

#include <optional>
#include <utility>

#include "net/http_client.hpp"

namespace maps {

HostLimiter::HostLimiter(std::chrono::milliseconds spacing) : schedule_(spacing) {}

HostSchedule::Ticket HostLimiter::enter(HostSchedule::Request request) {
  HostSchedule::Submitted submitted;
  {
    std::lock_guard lock(mu_);
    const auto now = HostSchedule::Clock::now();
    std::string service = request.service;
    submitted = schedule_.submit(std::move(request), now);
    services_.emplace(submitted.ticket, std::move(service));
    if (submitted.replaced) services_.erase(*submitted.replaced);
    const auto d = schedule_.poll(submitted.ticket, now);
    if (d.turn != HostSchedule::Turn::Wait) decided_.emplace(submitted.ticket, d);
  }
  // A replaced waiter has to hear about it.
  if (submitted.replaced) cv_.notify_all();
  return submitted.ticket;
}

HostLimiter::Admission HostLimiter::wait(HostSchedule::Ticket ticket) {
  std::unique_lock lock(mu_);
  std::optional<HostSchedule::Decision> early;
  if (const auto it = decided_.find(ticket); it != decided_.end()) {
    early = it->second;
    decided_.erase(it);
  }
  for (;;) {
    if (closed_) {
      schedule_.withdraw(ticket);
      services_.erase(ticket);
      return {Outcome::Closed, {}};
    }
    const auto d = early ? *std::exchange(early, std::nullopt) : schedule_.poll(ticket, HostSchedule::Clock::now());
    switch (d.turn) {
      case HostSchedule::Turn::Send:
        // The next spaced request may be waiting on this one.
        cv_.notify_all();
        services_.erase(ticket);
        return {Outcome::Send, {}};
      case HostSchedule::Turn::Replaced: services_.erase(ticket); return {Outcome::Replaced, {}};
      case HostSchedule::Turn::Refused: {
        cv_.notify_all();
        const auto service = services_.find(ticket);
        base::Error error = pause_error(service == services_.end() ? "service" : service->second, d.hold_left);
        services_.erase(ticket);
        return {Outcome::Refused, std::move(error)};
      }
      case HostSchedule::Turn::Wait:
        if (d.until == HostSchedule::TimePoint::max()) {
          cv_.wait(lock);
        } else {
          cv_.wait_until(lock, d.until);
        }
        break;
    }
  }
}

void HostLimiter::hold(std::string_view host, std::chrono::milliseconds pause) {
  {
    std::lock_guard lock(mu_);
    schedule_.hold(host, pause, HostSchedule::Clock::now());
  }
  cv_.notify_all();
}

void HostLimiter::close() {
  {
    std::lock_guard lock(mu_);
    closed_ = true;
  }
  cv_.notify_all();
}

}  // namespace maps

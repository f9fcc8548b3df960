#pragma once
// The waiting side of HostSchedule. The spawner enters each request when it starts the job, so
// the line keeps the order in which the jobs were asked for; the job's thread then blocks in
// `wait` until its turn. Closing it sends every waiter away (the spawner is shutting down).

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "base/result.hpp"
#include "net/host_schedule.hpp"

namespace maps {

class HostLimiter {
 public:
  enum class Outcome { Send, Replaced, Refused, Closed };
  struct Admission {
    Outcome outcome = Outcome::Closed;
    base::Error error;  // Refused: why, for the job's answer
  };

  explicit HostLimiter(std::chrono::milliseconds spacing = kGeocoderSpacing);

  // Puts the request in line; a waiting one of the same kind it replaces is told so. A request
  // whose turn has come is let through here already, so a newer one cannot replace it before
  // its thread gets to run.
  HostSchedule::Ticket enter(HostSchedule::Request request);
  // Blocks until the entered request may go out, is replaced by a newer one, is refused, or
  // the limiter closes.
  Admission wait(HostSchedule::Ticket ticket);
  // A reply asked for a pause before the next request to `host`.
  void hold(std::string_view host, std::chrono::milliseconds pause);
  void close();

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  HostSchedule schedule_;
  // Requests already let through, or refused, when they were entered.
  std::map<HostSchedule::Ticket, HostSchedule::Decision> decided_;
  std::map<HostSchedule::Ticket, std::string> services_;  // of the requests in line
  bool closed_ = false;
};

}  // namespace maps

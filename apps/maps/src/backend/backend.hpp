#pragma once
// Backend: the work that runs behind the window. It starts the jobs the services answer, counts
// those the window waits for, holds the channel their answers come back on, the clock and the
// waker of the window loop, and what the status line tells beside its text.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "backend/status_line.hpp"
#include "backend/worker_channel.hpp"
#include "base/mono_clock.hpp"
#include "format/local_date_time.hpp"
#include "net/job_spawner.hpp"
#include "net/jobs.hpp"
#include "net/worker_result.hpp"

namespace maps {

// A demonstration state starts no job. Work the window waits for (place, endpoint and area
// searches, routes, journeys) stays counted there as if never answered; work it does not wait
// for (the address of a fix, the places of the view) is not counted either.
bool counted_in_demonstration(const JobRequest& job);

class Backend {
 public:
  // Talks to the real services; a demonstration state does not.
  bool live = false;
  // Jobs started (or answers sent again) and not yet answered.
  std::uint32_t pending_jobs = 0;
  base::MonoNow now = &base::MonoClock::now;
  // Wakes the window loop; handed to every channel the tick drains (empty: nothing wakes it).
  std::function<void()> waker;
  StatusLine status;

  // The worker-result channel the jobs answer on, drained by the tick.
  base::Receiver<WorkerResult> result_receiver;
  // Declared after the receiver: opening the channel fills it. Every job gets a clone.
  base::Sender<WorkerResult> result_sender = open_worker_channel(result_receiver);
  // Starts the request threads (only a live state asks it); tests put a RecordingJobSpawner here.
  std::unique_ptr<JobSpawner> job_spawner = std::make_unique<ThreadJobSpawner>(ServiceHosts{}, result_sender);

  // The one way to start work. Live: counted and started; a demonstration state follows
  // counted_in_demonstration. True when the window now waits for the job.
  bool start(JobRequest job);
  // A kept answer of the latest search, counted and delivered through the tick as the service's.
  void answer_again(WorkerResult result);
  // The window loop's waker, for the result channel too (the other channels take `waker`).
  void set_waker(std::function<void()> wake) {
    waker = std::move(wake);
    result_receiver.set_waker(waker);
  }
  // The next answer on the channel, if any (the caller lowers the count as it applies it).
  std::optional<WorkerResult> take_result();

  // The wall clock of the window; a demonstration state reads 09:00 of today.
  LocalDateTime now_local() const { return live ? local_now() : demo_clock_now(); }
};

}  // namespace maps

#include "net/job_spawner.hpp"

#include <memory>
#include <system_error>
#include <utility>

#include "net/request_control.hpp"

namespace maps {

ThreadJobSpawner::ThreadJobSpawner(ServiceHosts hosts, WorkerSender sender)
    : hosts_(std::move(hosts)), sender_(std::move(sender)) {
  hosts_.control = std::make_shared<RequestControl>();
}

ThreadJobSpawner::~ThreadJobSpawner() {
  // Transfers notice the flag within about a second; waiting jobs leave the limiter at once.
  hosts_.control->cancelled.store(true);
  hosts_.control->limiter.close();
  threads_.join_all();
}

void ThreadJobSpawner::spawn(JobRequest job) {
  // In line here, not on the new thread: threads start in any order, jobs keep theirs.
  const auto ticket = hosts_.control->limiter.enter(pacing_of(job, hosts_));
  try {
    threads_.start([job = std::move(job), ticket, hosts = hosts_, sender = sender_]() mutable {
      run_job(std::move(job), ticket, std::move(hosts), std::move(sender));
    });
  } catch (const std::system_error& e) {
    stop_on_spawn_failure(e);
  }
}

}  // namespace maps

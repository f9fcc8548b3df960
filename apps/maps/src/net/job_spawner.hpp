#pragma once
// The seam between the app state and the request threads: the state asks a JobSpawner, the
// real one starts threads, tests use RecordingJobSpawner (net/recording_job_spawner.hpp).

#include "net/jobs.hpp"
#include "net/request_threads.hpp"
#include "net/service_hosts.hpp"
#include "net/workers.hpp"

namespace maps {

class JobSpawner {
 public:
  virtual ~JobSpawner() = default;
  virtual void spawn(JobRequest job) = 0;
};

// Starts one thread per job, each with its own copy of the hosts and the sender. The threads
// share this spawner's RequestControl: geocoder requests go out at most once a second per host
// (a newer query replacing an older unsent one of its kind), and a 429's Retry-After holds
// back the next requests to that host. Destroying the spawner cancels the transfers in flight,
// answers the waiting jobs, and joins every thread, so no request thread outlives it (nor
// reaches the static objects that process exit destroys).
class ThreadJobSpawner final : public JobSpawner {
 public:
  ThreadJobSpawner(ServiceHosts hosts, WorkerSender sender);
  ~ThreadJobSpawner() override;
  ThreadJobSpawner(const ThreadJobSpawner&) = delete;
  ThreadJobSpawner& operator=(const ThreadJobSpawner&) = delete;

  void spawn(JobRequest job) override;

  const ServiceHosts& hosts() const { return hosts_; }
  // Threads started and not yet joined.
  std::size_t threads() const { return threads_.size(); }
  // Threads still doing their job.
  std::size_t running_threads() const { return threads_.running(); }

 private:
  ServiceHosts hosts_;  // its `control` belongs to this spawner
  WorkerSender sender_;
  RequestThreads threads_;
};

}  // namespace maps

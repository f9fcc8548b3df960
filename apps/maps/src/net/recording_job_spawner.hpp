#pragma once
// A JobSpawner for tests: records every request in order and starts nothing.

#include <vector>

#include "net/job_spawner.hpp"

namespace maps {

class RecordingJobSpawner final : public JobSpawner {
 public:
  std::vector<JobRequest> requests;

  void spawn(JobRequest job) override { requests.push_back(std::move(job)); }

  // The recorded requests of one kind, in order.
  template <class Job>
  std::vector<Job> of_kind() const {
    std::vector<Job> out;
    for (const auto& r : requests) {
      if (const auto* j = std::get_if<Job>(&r)) out.push_back(*j);
    }
    return out;
  }
};

}  // namespace maps

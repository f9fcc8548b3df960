#pragma once
// A JobSpawner for tests: records every request in order and starts nothing.

#include <vector>

#include "net/job_spawner.hpp"

namespace maps {

class RecordingJobSpawner final : public JobSpawner {
 public:
  std::vector<JobRequest> requests;

  void spawn_place_search(PlaceSearchJob job) override { requests.emplace_back(std::move(job)); }
  void spawn_endpoint_search(EndpointSearchJob job) override { requests.emplace_back(std::move(job)); }
  void spawn_area_search(AreaSearchJob job) override { requests.emplace_back(std::move(job)); }
  void spawn_reverse_geocode(ReverseGeocodeJob job) override { requests.emplace_back(job); }
  void spawn_pois(PoiJob job) override { requests.emplace_back(job); }
  void spawn_route(RouteJob job) override { requests.emplace_back(job); }
  void spawn_transit(TransitJob job) override { requests.emplace_back(std::move(job)); }

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

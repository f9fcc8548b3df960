#pragma once
// The seam between the app state and the request threads: the state asks a JobSpawner, the
// real one starts threads, tests use RecordingJobSpawner (net/recording_job_spawner.hpp).

#include "net/jobs.hpp"
#include "net/service_hosts.hpp"
#include "net/workers.hpp"

namespace maps {

class JobSpawner {
 public:
  virtual ~JobSpawner() = default;
  virtual void spawn_place_search(PlaceSearchJob job) = 0;
  virtual void spawn_endpoint_search(EndpointSearchJob job) = 0;
  virtual void spawn_area_search(AreaSearchJob job) = 0;
  virtual void spawn_reverse_geocode(ReverseGeocodeJob job) = 0;
  virtual void spawn_pois(PoiJob job) = 0;
  virtual void spawn_route(RouteJob job) = 0;
  virtual void spawn_transit(TransitJob job) = 0;
};

// Starts one detached thread per job, each with its own copy of the hosts and the sender.
class ThreadJobSpawner final : public JobSpawner {
 public:
  ThreadJobSpawner(ServiceHosts hosts, WorkerSender sender);

  void spawn_place_search(PlaceSearchJob job) override;
  void spawn_endpoint_search(EndpointSearchJob job) override;
  void spawn_area_search(AreaSearchJob job) override;
  void spawn_reverse_geocode(ReverseGeocodeJob job) override;
  void spawn_pois(PoiJob job) override;
  void spawn_route(RouteJob job) override;
  void spawn_transit(TransitJob job) override;

  const ServiceHosts& hosts() const { return hosts_; }

 private:
  ServiceHosts hosts_;
  WorkerSender sender_;
};

}  // namespace maps

#include "net/job_spawner.hpp"

#include <utility>

namespace maps {

ThreadJobSpawner::ThreadJobSpawner(ServiceHosts hosts, WorkerSender sender)
    : hosts_(std::move(hosts)), sender_(std::move(sender)) {}

void ThreadJobSpawner::spawn_place_search(PlaceSearchJob job) { spawn_search_worker(std::move(job), hosts_, sender_); }
void ThreadJobSpawner::spawn_endpoint_search(EndpointSearchJob job) {
  spawn_endpoint_search_worker(std::move(job), hosts_, sender_);
}
void ThreadJobSpawner::spawn_area_search(AreaSearchJob job) {
  spawn_area_search_worker(std::move(job), hosts_, sender_);
}
void ThreadJobSpawner::spawn_reverse_geocode(ReverseGeocodeJob job) {
  spawn_reverse_geocode_worker(job, hosts_, sender_);
}
void ThreadJobSpawner::spawn_pois(PoiJob job) { spawn_poi_worker(job, hosts_, sender_); }
void ThreadJobSpawner::spawn_route(RouteJob job) { spawn_route_worker(job, hosts_, sender_); }
void ThreadJobSpawner::spawn_transit(TransitJob job) { spawn_transit_worker(std::move(job), hosts_, sender_); }

}  // namespace maps

#pragma once
// One short-lived thread per web request: call the adapter, send one WorkerResult, end.

#include <system_error>

#include "base/channel.hpp"
#include "net/jobs.hpp"
#include "net/service_hosts.hpp"
#include "net/worker_result.hpp"

namespace maps {

using WorkerSender = base::Sender<WorkerResult>;

// Thread bodies. They block for the whole request, never throw, and drop the answer silently
// when the receiver is gone.
void search_worker_main(PlaceSearchJob job, ServiceHosts hosts, WorkerSender sender);
void endpoint_search_worker_main(EndpointSearchJob job, ServiceHosts hosts, WorkerSender sender);
void area_search_worker_main(AreaSearchJob job, ServiceHosts hosts, WorkerSender sender);
void reverse_geocode_worker_main(ReverseGeocodeJob job, ServiceHosts hosts, WorkerSender sender);
void poi_worker_main(PoiJob job, ServiceHosts hosts, WorkerSender sender);
void route_worker_main(RouteJob job, ServiceHosts hosts, WorkerSender sender);
void transit_worker_main(TransitJob job, ServiceHosts hosts, WorkerSender sender);

// Starters: spawn a detached thread running the body. A refused thread stops the process.
void spawn_search_worker(PlaceSearchJob job, const ServiceHosts& hosts, WorkerSender sender);
void spawn_endpoint_search_worker(EndpointSearchJob job, const ServiceHosts& hosts, WorkerSender sender);
void spawn_area_search_worker(AreaSearchJob job, const ServiceHosts& hosts, WorkerSender sender);
void spawn_reverse_geocode_worker(ReverseGeocodeJob job, const ServiceHosts& hosts, WorkerSender sender);
void spawn_poi_worker(PoiJob job, const ServiceHosts& hosts, WorkerSender sender);
void spawn_route_worker(RouteJob job, const ServiceHosts& hosts, WorkerSender sender);
void spawn_transit_worker(TransitJob job, const ServiceHosts& hosts, WorkerSender sender);

// Prints "failed to spawn thread: ..." and aborts; there is no fallback for request jobs.
[[noreturn]] void stop_on_spawn_failure(const std::system_error& error);

}  // namespace maps

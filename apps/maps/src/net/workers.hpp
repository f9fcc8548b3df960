#pragma once
// The body of every request thread: wait for the job's turn at its host, call the adapter, send
// one WorkerResult, end. A job that never goes out still answers exactly once.

#include <optional>
#include <string>
#include <system_error>

#include "base/channel.hpp"
#include "net/host_schedule.hpp"
#include "net/jobs.hpp"
#include "net/service_hosts.hpp"
#include "net/worker_result.hpp"

namespace maps {

using WorkerSender = base::Sender<WorkerResult>;

// Adapter calls. They block for the whole request, never throw, and drop the answer silently
// when the receiver is gone.
void search_worker_main(PlaceSearchJob job, ServiceHosts hosts, WorkerSender sender);
void endpoint_search_worker_main(EndpointSearchJob job, ServiceHosts hosts, WorkerSender sender);
void area_search_worker_main(AreaSearchJob job, ServiceHosts hosts, WorkerSender sender);
void reverse_geocode_worker_main(ReverseGeocodeJob job, ServiceHosts hosts, WorkerSender sender);
void poi_worker_main(PoiJob job, ServiceHosts hosts, WorkerSender sender);
void route_worker_main(RouteJob job, ServiceHosts hosts, WorkerSender sender);
void transit_worker_main(TransitJob job, ServiceHosts hosts, WorkerSender sender);

// Where a job waits before it goes out. Geocoder requests are spaced per host; the search box,
// each endpoint field and the offline area search each keep at most one waiting request (a
// newer one replaces it), while reverse lookups only queue.
HostSchedule::Request pacing_of(const JobRequest& job, const ServiceHosts& hosts);

// The answer of a job of this kind that failed with `error` before its adapter ran.
WorkerResult failed_answer(const JobRequest& job, base::Error error);

// The whole life of a job's thread: with a ticket of `hosts.control`'s limiter, its turn there,
// then its body; refused and cancelled jobs answer with their error without a request, replaced
// ones with worker::Superseded.
void run_job(JobRequest job, std::optional<HostSchedule::Ticket> ticket, ServiceHosts hosts, WorkerSender sender);

// Prints "failed to spawn thread: ..." and aborts; there is no fallback for request jobs.
[[noreturn]] void stop_on_spawn_failure(const std::system_error& error);

}  // namespace maps

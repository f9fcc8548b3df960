#include "net/workers.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>
#include <utility>

#include <fmt/format.h>

#include "net/geocoding.hpp"
#include "net/pois.hpp"
#include "net/routing.hpp"
#include "net/transit.hpp"

namespace maps {

namespace {

// Runs an adapter; anything it throws becomes the error text of its answer.
template <class F>
auto guarded(F&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const std::exception& e) {
    return base::err(e.what());
  } catch (...) {
    return base::err("unknown error");
  }
}

// Builds the job's message (running its adapter) and sends it. A gone receiver, or any
// failure on the way, ends the job quietly.
template <class Make>
void deliver(const WorkerSender& sender, Make&& make) noexcept {
  try {
    (void)sender.send(make());
  } catch (...) {
  }
}

template <class Body, class Job>
void spawn_detached(Body body, Job job, const ServiceHosts& hosts, WorkerSender sender) {
  try {
    std::thread(body, std::move(job), hosts, std::move(sender)).detach();
  } catch (const std::system_error& e) {
    stop_on_spawn_failure(e);
  }
}

}  // namespace

void stop_on_spawn_failure(const std::system_error& error) {
  std::fputs(fmt::format("failed to spawn thread: {}\n", error.what()).c_str(), stderr);
  std::fflush(stderr);
  std::abort();
}

void search_worker_main(PlaceSearchJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender, [&] {
    return worker::PlaceSearch{guarded([&] { return search_places(hosts, job.query); }), std::move(job.query)};
  });
}

void endpoint_search_worker_main(EndpointSearchJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender, [&] {
    return worker::EndpointSearch{guarded([&] { return search_places(hosts, job.query); }), std::move(job.query),
                                  job.endpoint};
  });
}

void area_search_worker_main(AreaSearchJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender, [&] {
    return worker::AreaSearch{guarded([&] { return search_areas(hosts, job.query); }), std::move(job.query)};
  });
}

void reverse_geocode_worker_main(ReverseGeocodeJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender,
          [&] { return worker::ReverseGeocode{guarded([&] { return reverse_geocode(hosts, job.lat, job.lon); })}; });
}

void poi_worker_main(PoiJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender, [&] {
    return worker::Pois{guarded([&] { return fetch_pois(hosts, job.min_lat, job.min_lon, job.max_lat, job.max_lon); }),
                        job.generation};
  });
}

void route_worker_main(RouteJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender,
          [&] { return worker::Route{guarded([&] { return fetch_route(hosts, job.mode, job.from, job.to); })}; });
}

void transit_worker_main(TransitJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender, [&] {
    return worker::Transit{guarded([&] { return fetch_transit_plan(hosts, job.query, job.from, job.to); })};
  });
}

void spawn_search_worker(PlaceSearchJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(search_worker_main, std::move(job), hosts, std::move(sender));
}
void spawn_endpoint_search_worker(EndpointSearchJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(endpoint_search_worker_main, std::move(job), hosts, std::move(sender));
}
void spawn_area_search_worker(AreaSearchJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(area_search_worker_main, std::move(job), hosts, std::move(sender));
}
void spawn_reverse_geocode_worker(ReverseGeocodeJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(reverse_geocode_worker_main, std::move(job), hosts, std::move(sender));
}
void spawn_poi_worker(PoiJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(poi_worker_main, std::move(job), hosts, std::move(sender));
}
void spawn_route_worker(RouteJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(route_worker_main, std::move(job), hosts, std::move(sender));
}
void spawn_transit_worker(TransitJob job, const ServiceHosts& hosts, WorkerSender sender) {
  spawn_detached(transit_worker_main, std::move(job), hosts, std::move(sender));
}

}  // namespace maps

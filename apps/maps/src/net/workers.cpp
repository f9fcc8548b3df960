#include "net/workers.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include <fmt/format.h>

#include "net/geocoding.hpp"
#include "net/host_limiter.hpp"
#include "net/pois.hpp"
#include "net/request_control.hpp"
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
                                  job.field};
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
  deliver(sender, [&] {
    return worker::Route{guarded([&] { return fetch_route(hosts, job.mode, job.from, job.to); }), job.request};
  });
}

void transit_worker_main(TransitJob job, ServiceHosts hosts, WorkerSender sender) {
  deliver(sender, [&] {
    return worker::Transit{guarded([&] { return fetch_transit_plan(hosts, job.query, job.from, job.to); }),
                           job.request};
  });
}

HostSchedule::Request pacing_of(const JobRequest& job, const ServiceHosts& hosts) {
  // Replace keys: one per kind of query that a newer one makes pointless.
  enum Key : int { kSearchBox, kOriginField, kDestinationField, kAreaSearch };
  const auto geocoder = [&](std::optional<int> key) {
    return HostSchedule::Request{host_key(hosts.nominatim), true, key, std::string(kGeocoderService)};
  };
  return std::visit(
      [&](const auto& j) -> HostSchedule::Request {
        using J = std::decay_t<decltype(j)>;
        if constexpr (std::is_same_v<J, PlaceSearchJob>) {
          return geocoder(kSearchBox);
        } else if constexpr (std::is_same_v<J, EndpointSearchJob>) {
          return geocoder(j.field == EndpointField::Origin ? kOriginField : kDestinationField);
        } else if constexpr (std::is_same_v<J, AreaSearchJob>) {
          return geocoder(kAreaSearch);
        } else if constexpr (std::is_same_v<J, ReverseGeocodeJob>) {
          return geocoder(std::nullopt);
        } else if constexpr (std::is_same_v<J, PoiJob>) {
          return {host_key(hosts.overpass), false, std::nullopt, std::string(kPoiService)};
        } else if constexpr (std::is_same_v<J, RouteJob>) {
          return {host_key(hosts.osrm), false, std::nullopt, std::string(kRoutingService)};
        } else {
          return {host_key(hosts.motis), false, std::nullopt, std::string(kJourneyService)};
        }
      },
      job);
}

WorkerResult failed_answer(const JobRequest& job, base::Error error) {
  return std::visit(
      [&](const auto& j) -> WorkerResult {
        using J = std::decay_t<decltype(j)>;
        base::Error e = std::move(error);
        if constexpr (std::is_same_v<J, PlaceSearchJob>) {
          return worker::PlaceSearch{std::move(e), j.query};
        } else if constexpr (std::is_same_v<J, EndpointSearchJob>) {
          return worker::EndpointSearch{std::move(e), j.query, j.field};
        } else if constexpr (std::is_same_v<J, AreaSearchJob>) {
          return worker::AreaSearch{std::move(e), j.query};
        } else if constexpr (std::is_same_v<J, ReverseGeocodeJob>) {
          return worker::ReverseGeocode{std::move(e)};
        } else if constexpr (std::is_same_v<J, PoiJob>) {
          return worker::Pois{std::move(e), j.generation};
        } else if constexpr (std::is_same_v<J, RouteJob>) {
          return worker::Route{std::move(e), j.request};
        } else {
          return worker::Transit{std::move(e), j.request};
        }
      },
      job);
}

void run_job(JobRequest job, std::optional<HostSchedule::Ticket> ticket, ServiceHosts hosts, WorkerSender sender) {
  if (ticket && hosts.control) {
    HostLimiter::Admission admission;
    try {
      admission = hosts.control->limiter.wait(*ticket);
    } catch (const std::exception& e) {
      admission = {HostLimiter::Outcome::Refused, base::err(e.what())};
    }
    switch (admission.outcome) {
      case HostLimiter::Outcome::Send: break;
      case HostLimiter::Outcome::Replaced: deliver(sender, [] { return WorkerResult{worker::Superseded{}}; }); return;
      case HostLimiter::Outcome::Refused:
        deliver(sender, [&] { return failed_answer(job, std::move(admission.error)); });
        return;
      case HostLimiter::Outcome::Closed:
        deliver(sender, [&] { return failed_answer(job, base::err(base::ErrorKind::Cancelled, "request cancelled")); });
        return;
    }
  }
  std::visit(
      [&](auto&& j) {
        using J = std::decay_t<decltype(j)>;
        if constexpr (std::is_same_v<J, PlaceSearchJob>) {
          search_worker_main(std::move(j), std::move(hosts), std::move(sender));
        } else if constexpr (std::is_same_v<J, EndpointSearchJob>) {
          endpoint_search_worker_main(std::move(j), std::move(hosts), std::move(sender));
        } else if constexpr (std::is_same_v<J, AreaSearchJob>) {
          area_search_worker_main(std::move(j), std::move(hosts), std::move(sender));
        } else if constexpr (std::is_same_v<J, ReverseGeocodeJob>) {
          reverse_geocode_worker_main(j, std::move(hosts), std::move(sender));
        } else if constexpr (std::is_same_v<J, PoiJob>) {
          poi_worker_main(j, std::move(hosts), std::move(sender));
        } else if constexpr (std::is_same_v<J, RouteJob>) {
          route_worker_main(j, std::move(hosts), std::move(sender));
        } else {
          transit_worker_main(std::move(j), std::move(hosts), std::move(sender));
        }
      },
      std::move(job));
}

}  // namespace maps

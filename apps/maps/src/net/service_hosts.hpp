#pragma once
// Where the web services live. Fixed defaults for the app; tests point every host at a local fake.

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace maps {

struct RequestControl;

inline constexpr std::chrono::milliseconds kJsonRequestTimeout{12000};

// What the texts shown to the user call each service.
inline constexpr std::string_view kGeocoderService = "search service";
inline constexpr std::string_view kPoiService = "places service";
inline constexpr std::string_view kRoutingService = "routing service";
inline constexpr std::string_view kJourneyService = "journey planner";

struct ServiceHosts {
  std::string nominatim = "https://nominatim.openstreetmap.org";
  std::string overpass = "https://overpass-api.de";
  std::string osrm = "https://router.project-osrm.org";
  std::string motis = "https://api.transitous.org";
  // Limit for the reply head and again for its body; only tests shorten it.
  std::chrono::milliseconds timeout = kJsonRequestTimeout;
  // Cancellation and pacing, shared with the spawner whose thread makes the request; none for
  // a request made outside a spawner.
  std::shared_ptr<RequestControl> control;
  bool operator==(const ServiceHosts&) const = default;
};

// The host without a trailing slash, followed by `path_and_query` (which starts with "/").
std::string service_url(const std::string& host, const std::string& path_and_query);

}  // namespace maps

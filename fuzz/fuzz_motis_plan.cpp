// Journey-plan replies, including encoded-polyline decoding of arbitrary leg geometry.
#include <cmath>
#include <cstdlib>

#include "net/polyline.hpp"
#include "net/transit.hpp"
#include "net_fuzz_json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = maps::fuzzing::reply_value(data, size,
                                                {"itineraries",
                                                 "startTime",
                                                 "endTime",
                                                 "duration",
                                                 "transfers",
                                                 "legs",
                                                 "mode",
                                                 "routeShortName",
                                                 "route",
                                                 "headsign",
                                                 "from",
                                                 "to",
                                                 "name",
                                                 "intermediateStops",
                                                 "legGeometry",
                                                 "points",
                                                 "precision",
                                                 "routeColor",
                                                 "routeTextColor",
                                                 "agencyName",
                                                 "realTime",
                                                 "_p~iF~ps|U_ulLnnqC_mqNvxq`@",
                                                 "2026-12-08T14:05:00Z",
                                                 "#0A64C8",
                                                 "LIGHT_RAIL",
                                                 "WALK"});
  if (!value) return 0;
  auto r = maps::parse_transit_plan(*value);
  if (!r) return 0;
  for (const auto& j : *r) {
    for (const auto& leg : j.legs) {
      for (const auto& p : leg.geometry) {
        if (!std::isfinite(p.lat) || !std::isfinite(p.lon)) std::abort();
      }
      if (!maps::all_on_globe(leg.geometry)) std::abort();
      if (leg.color && leg.color->size() != 6) std::abort();
    }
  }
  return 0;
}

// Overpass replies: points of interest always have a name and unique ids.
#include <cstdlib>
#include <set>
#include <string>

#include "net/pois.hpp"
#include "net_fuzz_json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = maps::fuzzing::reply_value(data, size,
                                                {"elements",
                                                 "type",
                                                 "id",
                                                 "lat",
                                                 "lon",
                                                 "center",
                                                 "tags",
                                                 "name",
                                                 "amenity",
                                                 "tourism",
                                                 "shop",
                                                 "leisure",
                                                 "railway",
                                                 "public_transport",
                                                 "highway",
                                                 "addr:street",
                                                 "addr:housenumber",
                                                 "addr:city",
                                                 "opening_hours",
                                                 "website",
                                                 "contact:website",
                                                 "phone",
                                                 "contact:phone",
                                                 "cuisine",
                                                 "node",
                                                 "cafe",
                                                 "bus_stop",
                                                 "coffee_shop"});
  if (!value) return 0;
  std::set<std::string> ids;
  for (const auto& poi : maps::parse_overpass_pois(*value)) {
    if (poi.name.empty() || !ids.insert(poi.id).second) std::abort();
  }
  return 0;
}

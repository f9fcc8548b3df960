// Overpass replies: points of interest always have a name and unique ids; a reply that fails
// carries its remark.
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
                                                 "coffee_shop",
                                                 "remark",
                                                 "runtime error: Query timed out",
                                                 "runtime remark: x"});
  if (!value) return 0;
  const auto reply = maps::parse_overpass_reply(*value);
  if (reply.is_err()) {
    if (reply.error().rfind("runtime error", 0) != 0) std::abort();
    return 0;
  }
  std::set<std::string> ids;
  for (const auto& poi : *reply) {
    if (poi.name.empty() || !ids.insert(poi.id).second) std::abort();
  }
  return 0;
}

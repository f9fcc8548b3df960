// Road-route replies, including the line simplification of whatever coordinates arrive.
#include <cstdlib>

#include "net/routing.hpp"
#include "net_fuzz_json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = maps::fuzzing::reply_value(
      data, size, {"code",   "Ok",    "routes",   "distance",    "duration", "geometry",  "coordinates",
                   "legs",   "steps", "maneuver", "type",        "modifier", "name",      "depart",
                   "arrive", "turn",  "left",     "sharp right", "uturn",    "roundabout"});
  if (!value) return 0;
  auto r = maps::parse_osrm_route(*value, maps::TravelMode::Car, {48.1, 11.5}, {48.2, 11.6});
  if (r.is_ok() && r->steps.size() > 0 && r->steps.front().instruction.empty()) std::abort();
  return 0;
}

// Road-route replies, including the line simplification of whatever coordinates arrive, and
// whole replies with their status.
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

  // The same value as the body of a reply with a status picked from the input.
  static constexpr long kStatuses[] = {200, 204, 299, 301, 400, 404, 429, 499, 500, 503};
  const long status = kStatuses[data[size - 1] % (sizeof(kStatuses) / sizeof(kStatuses[0]))];
  const auto whole = maps::parse_osrm_reply(
      {status, value->dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), std::nullopt},
      maps::TravelMode::Car, {48.1, 11.5}, {48.2, 11.6});
  if (status >= 300 && whole.is_ok()) std::abort();
  if (whole.is_err() && whole.error().empty() && status >= 300) std::abort();
  return 0;
}

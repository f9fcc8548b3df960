// Reverse-lookup replies: an address text or the one error, never a crash.
#include <cstdlib>

#include "net/geocoding.hpp"
#include "net_fuzz_json.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto value = maps::fuzzing::reply_value(data, size, {"name", "display_name", "a, b, c", ",", " ", ""});
  if (!value) return 0;
  auto r = maps::parse_reverse_geocode(*value);
  if (r.is_err() && r.error() != "no address for this location") std::abort();
  return 0;
}

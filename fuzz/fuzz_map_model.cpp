// The older whole-model entry, plans and journey times: decoding never crashes; decoded plans and
// times re-encode to text that decodes to the same value.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/json_codec.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)maps::deserialize_map_model_str(text);

  if (const auto plan = maps::deserialize_active_plan_str(text); plan.is_ok()) {
    std::string out;
    maps::serialize_active_plan_json(*plan, out);
    const auto again = maps::deserialize_active_plan_str(out);
    if (again.is_err() || !(*again == *plan)) std::abort();
  }
  if (const auto time = maps::deserialize_transit_time_str(text); time.is_ok()) {
    std::string out;
    maps::serialize_transit_time_json(*time, out);
    const auto again = maps::deserialize_transit_time_str(out);
    if (again.is_err() || !(*again == *time)) std::abort();
  }
  return 0;
}

// Action payloads: decoding never crashes, and whatever decodes re-encodes to text that decodes
// to the same action (a NaN cannot come out of a read, so equality holds).
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "model/json_codec.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto action = maps::deserialize_maps_action_slice(std::span<const std::uint8_t>(data, size));
  if (action.is_err()) return 0;
  std::string text;
  maps::serialize_maps_action_json(*action, text);
  const auto again = maps::deserialize_maps_action_slice(std::string_view(text));
  if (again.is_err() || !(*again == *action)) std::abort();
  std::string text2;
  maps::serialize_maps_action_json(*again, text2);
  if (text2 != text) std::abort();
  (void)maps::maps_action_debug_text(*action);
  (void)maps::serialize_maps_action_value(*action);
  return 0;
}

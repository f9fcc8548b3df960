// The action as an in-memory JSON value, for reading its variant name into the action's label.
#include <nlohmann/json.hpp>

#include "model/json_codec.hpp"

namespace maps {

nlohmann::json serialize_maps_action_value(const MapsAction& action) {
  std::string text;
  serialize_maps_action_json(action, text);
  // Our own text is valid JSON without repeated keys, so the library's tree loses nothing.
  nlohmann::json value = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (value.is_discarded()) return nlohmann::json(std::string(action_name(action)));
  return value;
}

}  // namespace maps

#include "zarn_actions/registry.hpp"

#include <exception>

namespace zarn_actions::registry {

bool ActionRegistry::register_decoder(std::string type_name, Decoder decoder) {
  if (type_name.empty() || !decoder) return false;
  decoders_.insert_or_assign(std::move(type_name), std::move(decoder));
  return true;
}

bool ActionRegistry::contains(std::string_view type_name) const { return find(type_name) != nullptr; }

const Decoder* ActionRegistry::find(std::string_view type_name) const {
  auto it = decoders_.find(type_name);
  return it == decoders_.end() ? nullptr : &it->second;
}

std::vector<std::string> ActionRegistry::type_names() const {
  std::vector<std::string> names;
  names.reserve(decoders_.size());
  for (const auto& [name, decoder] : decoders_) names.push_back(name);
  return names;
}

DecodeResult ActionRegistry::decode(std::string_view type_name, std::span<const std::uint8_t> payload) const {
  const Decoder* decoder = find(type_name);
  if (decoder == nullptr) return action::ActionError::unknown_type(type_name);
  try {
    DecodeResult decoded = (*decoder)(payload);
    // A decoder that "succeeds" with nothing would hand the executor a null object.
    if (decoded.is_ok() && decoded.value() == nullptr) {
      return action::ActionError::decode(type_name, "the decoder produced no action");
    }
    return decoded;
  } catch (const std::exception& e) {
    return action::ActionError::decode(type_name, e.what());
  } catch (...) {
    return action::ActionError::decode(type_name, "the decoder failed");
  }
}

DecodeResult ActionRegistry::decode(const action::EncodedAction& encoded) const {
  return decode(encoded.type_name, encoded.payload);
}

}  // namespace zarn_actions::registry

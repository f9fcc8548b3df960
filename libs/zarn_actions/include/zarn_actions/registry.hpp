#pragma once
// The table of decoders by action type name. The framework decodes every incoming payload
// through it; an application registers one decoder per type it owns.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "zarn_actions/action.hpp"

namespace zarn_actions::registry {

using DecodeResult = action::ActionResult<std::unique_ptr<action::Action>>;
using Decoder = std::function<DecodeResult(std::span<const std::uint8_t> payload)>;

class ActionRegistry {
 public:
  // Registers `decoder` under `type_name`; a decoder already there is replaced and dropped.
  // An empty name or an empty function is refused (returns false) so lookups never find a hole.
  bool register_decoder(std::string type_name, Decoder decoder);

  bool contains(std::string_view type_name) const;
  const Decoder* find(std::string_view type_name) const;
  std::size_t size() const { return decoders_.size(); }
  std::vector<std::string> type_names() const;  // in byte order

  // Decodes through the decoder of the type. An unknown type, a decoder that throws, and a
  // decoder that answers with no object all become errors.
  DecodeResult decode(std::string_view type_name, std::span<const std::uint8_t> payload) const;
  DecodeResult decode(const action::EncodedAction& encoded) const;

 private:
  std::map<std::string, Decoder, std::less<>> decoders_;
};

}  // namespace zarn_actions::registry

namespace zarn_actions {
using registry::ActionRegistry;
}  // namespace zarn_actions

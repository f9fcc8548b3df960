#include "zarn_actions/action.hpp"

namespace zarn_actions::action {

EncodedAction EncodedAction::from_text(std::string type_name, std::string_view payload_text) {
  return EncodedAction{std::move(type_name), std::vector<std::uint8_t>(payload_text.begin(), payload_text.end())};
}

std::string EncodedAction::payload_text() const { return std::string(payload.begin(), payload.end()); }

}  // namespace zarn_actions::action

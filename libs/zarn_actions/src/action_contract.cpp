#include "zarn_actions/action_contract.hpp"

#include <exception>

namespace zarn_actions::resource {

Availability Availability::refused(std::string code, std::string message) {
  return Availability{action::ActionError::refused(std::move(code), std::move(message))};
}

ActionSpec::ActionSpec(std::string id, std::string label, ActionKind kind, Encoder encoder)
    : id(std::move(id)), label(std::move(label)), kind(kind), encoder(std::move(encoder)) {}

ActionSpec ActionSpec::returning(std::string id, std::string label, ActionKind kind, action::EncodedAction encoded) {
  return ActionSpec(std::move(id), std::move(label), kind,
                    [encoded = std::move(encoded)](const ActionArgs&) -> EncodeResult { return encoded; });
}

ActionSpec& ActionSpec::with_param(ActionParam param) & {
  params.push_back(std::move(param));
  return *this;
}
ActionSpec&& ActionSpec::with_param(ActionParam param) && { return std::move(with_param(std::move(param))); }

ActionSpec& ActionSpec::with_contract(ActionContract c) & {
  contract = std::move(c);
  return *this;
}
ActionSpec&& ActionSpec::with_contract(ActionContract c) && { return std::move(with_contract(std::move(c))); }

ActionSpec& ActionSpec::with_availability(Availability a) & {
  availability = std::move(a);
  return *this;
}
ActionSpec&& ActionSpec::with_availability(Availability a) && { return std::move(with_availability(std::move(a))); }

EncodeResult ActionSpec::invoke(const ActionArgs& args) const {
  if (availability.refusal) return *availability.refusal;
  if (!encoder) return action::ActionError::invalid({}, "action `" + id + "` has no encoder");
  try {
    EncodeResult encoded = encoder(args);
    if (encoded.is_err()) return encoded;
    if (auto checked = enforce_operation_type(*this, encoded.value()); checked.is_err()) return checked.error();
    return encoded;
  } catch (const std::exception& e) {
    return action::ActionError::encode(id, e.what());
  } catch (...) {
    return action::ActionError::encode(id, "the encoder failed");
  }
}

EncodeResult enforce_operation_type(std::string_view operation_type, EncodeResult encoded) {
  if (encoded.is_err() || operation_type.empty()) return encoded;
  if (encoded.value().type_name != operation_type) {
    return action::ActionError::type_mismatch(operation_type, encoded.value().type_name);
  }
  return encoded;
}

action::ActionStatus enforce_operation_type(const ActionSpec& spec, const action::EncodedAction& encoded) {
  if (!spec.contract || !spec.contract->input_type) return {};
  const std::string& expected = *spec.contract->input_type;
  if (expected.empty() || encoded.type_name == expected) return {};
  return action::ActionError::type_mismatch(expected, encoded.type_name);
}

}  // namespace zarn_actions::resource

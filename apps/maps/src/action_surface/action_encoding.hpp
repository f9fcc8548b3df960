#pragma once
// The building blocks of the resource tree's actions: encoded actions made from a MapsAction or a
// text, action specs that return them, the "maps.action" contract, and the search spec that reads
// its text argument when invoked.

#include <string>
#include <string_view>

#include "model/records.hpp"
#include "zarn_actions/action.hpp"
#include "zarn_actions/action_contract.hpp"
#include "zarn_actions/args.hpp"

namespace maps {

inline constexpr std::string_view kSearchActionType = "maps.search";

using zarn_actions::action::EncodedAction;
using zarn_actions::resource::ActionKind;
using zarn_actions::resource::ActionSpec;
using zarn_actions::resource::EncodeResult;

// Encoded actions; each is the action error when the payload cannot be written as JSON.
EncodeResult encode_action_param_str(std::string_view type_name, std::string_view text);
EncodeResult encode_action_param_text(std::string type_name, std::string_view text);
EncodeResult encode_action_payload(std::string_view type_name, const MapsAction& action);

// The "maps.action" contract; deleting a region or every region is destructive and asks first.
zarn_actions::resource::ActionContract maps_action_contract(const MapsAction& action);
// The action as "maps.action"; the same type with an empty payload when it cannot be encoded.
EncodedAction maps_action_contract_payload(const MapsAction& action);

ActionSpec closure_action_spec(std::string id, std::string label, EncodedAction encoded, ActionKind kind);
// The payload is computed once, when the action spec is made.
ActionSpec payload_action_spec(std::string id, std::string label, std::string_view type_name, const MapsAction& action);
ActionSpec param_text_action_spec(std::string id, std::string label, ActionKind kind, std::string type_name,
                                  std::string_view text);
// One text parameter "value"; invoking it trims the text and encodes it under "maps.search",
// held to `operation_type`.
ActionSpec text_input_action_spec(std::string id, std::string label, std::string placeholder, std::string example,
                                  ActionKind kind, std::string operation_type);
// A spec that produces `action` under "maps.action", with the contract.
ActionSpec action_spec_with_contract(std::string id, std::string label, const MapsAction& action);

// The argument "value" as text; empty when it is missing.
std::string search_text_arg(const zarn_actions::resource::ActionArgs& args);
// The trimmed text encoded as a "maps.search" action, held to the operation type.
EncodeResult search_action_check(std::string_view text, std::string_view operation_type);

}  // namespace maps

#include "action_surface/action_encoding.hpp"

#include <utility>

#include "base/text.hpp"
#include "doc/action_path.hpp"
#include "model/json_write.hpp"

namespace maps {

namespace zr = zarn_actions::resource;

EncodeResult encode_action_param_str(std::string_view type_name, std::string_view text) {
  std::string out;
  json::write_string(out, text);
  return EncodedAction::from_text(std::string(type_name), out);
}

EncodeResult encode_action_param_text(std::string type_name, std::string_view text) {
  std::string out;
  out.reserve(128);
  json::write_string(out, text);
  return EncodedAction::from_text(std::move(type_name), out);
}

EncodeResult encode_action_payload(std::string_view type_name, const MapsAction& action) {
  return doc::encode_action_payload(type_name, action);
}

zr::ActionContract maps_action_contract(const MapsAction& action) {
  const bool destructive = std::holds_alternative<MapsAction::DeleteRegion>(action.value) ||
                           std::holds_alternative<MapsAction::ClearRegions>(action.value);
  zr::ActionContract c;
  c.scopes = {"maps", "workspace"};
  c.input_type = std::string(doc::kMapsActionType);
  c.effect = destructive ? zr::Effect::Destructive : zr::Effect::Reversible;
  c.confirmation = destructive ? zr::Confirmation::Required : zr::Confirmation::NotNeeded;
  return c;
}

EncodedAction maps_action_contract_payload(const MapsAction& action) {
  EncodeResult encoded = encode_action_payload(doc::kMapsActionType, action);
  if (encoded.is_ok()) return std::move(encoded).value();
  return EncodedAction{std::string(doc::kMapsActionType), {}};
}

ActionSpec closure_action_spec(std::string id, std::string label, EncodedAction encoded, ActionKind kind) {
  return ActionSpec::returning(std::move(id), std::move(label), kind, std::move(encoded));
}

namespace {

// A spec that answers a result computed once: a copy of the encoded action, or the error.
ActionSpec fixed_result_spec(std::string id, std::string label, ActionKind kind, EncodeResult result) {
  return ActionSpec(std::move(id), std::move(label), kind,
                    [result = std::move(result)](const zr::ActionArgs&) -> EncodeResult { return result; });
}

}  // namespace

ActionSpec payload_action_spec(std::string id, std::string label, std::string_view type_name,
                               const MapsAction& action) {
  return fixed_result_spec(std::move(id), std::move(label), zr::ActionKind::Command,
                           encode_action_payload(type_name, action));
}

ActionSpec param_text_action_spec(std::string id, std::string label, ActionKind kind, std::string type_name,
                                  std::string_view text) {
  return fixed_result_spec(std::move(id), std::move(label), kind, encode_action_param_text(std::move(type_name), text));
}

std::string search_text_arg(const zr::ActionArgs& args) { return args.text("value").value_or(std::string{}); }

EncodeResult search_action_check(std::string_view text, std::string_view operation_type) {
  return zr::enforce_operation_type(operation_type,
                                    encode_action_param_str(kSearchActionType, base::trim_white_space(text)));
}

ActionSpec text_input_action_spec(std::string id, std::string label, std::string placeholder, std::string example,
                                  ActionKind kind, std::string operation_type) {
  ActionSpec spec(std::move(id), std::move(label), kind,
                  [operation_type = std::move(operation_type)](const zr::ActionArgs& args) -> EncodeResult {
                    return search_action_check(search_text_arg(args), operation_type);
                  });
  zr::ActionParam param;
  param.name = "value";
  param.kind = zr::ParamKind::Text;
  param.placeholder = std::move(placeholder);
  param.example = std::move(example);
  return std::move(spec).with_param(std::move(param));
}

ActionSpec action_spec_with_contract(std::string id, std::string label, const MapsAction& action) {
  EncodeResult encoded = encode_action_payload(doc::kMapsActionType, action);
  ActionSpec spec = encoded.is_ok()
                        ? payload_action_spec(std::move(id), std::move(label), doc::kMapsActionType, action)
                        : closure_action_spec(std::move(id), std::move(label), maps_action_contract_payload(action),
                                              zr::ActionKind::Command);
  return std::move(spec).with_contract(maps_action_contract(action));
}

}  // namespace maps

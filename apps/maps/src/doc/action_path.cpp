#include "doc/action_path.hpp"

#include <nlohmann/json.hpp>

#include "doc/writers.hpp"
#include "model/json_codec.hpp"

namespace maps::doc {

namespace za = zarn_actions::action;

std::string MapsActionObject::debug_text() const { return maps_action_debug_text(*action_); }

void MapsActionObject::apply(automerge::AutoCommit& doc) const { maps_action_apply(*action_, doc); }

za::ActionResult<za::EncodedAction> encode_action_payload(std::string_view type_name, const MapsAction& action) {
  za::EncodedAction encoded;
  encoded.type_name = std::string(type_name);
  encoded.payload.reserve(128);
  serialize_maps_action_json(action, encoded.payload);  // the writer cannot fail
  return encoded;
}

zarn_actions::registry::DecodeResult decode_action_payload(std::string_view type_name,
                                                           std::span<const std::uint8_t> payload) {
  auto decoded = deserialize_maps_action_slice(payload);
  if (!decoded) return za::ActionError::decode(type_name, decoded.error());
  return std::make_unique<MapsActionObject>(std::move(decoded).value());
}

void register_typed_action(zarn_actions::ActionRegistry& registry, std::string_view type_name) {
  (void)registry.register_decoder(std::string(type_name),
                                  [name = std::string(type_name)](std::span<const std::uint8_t> payload) {
                                    return decode_action_payload(name, payload);
                                  });
}

void register_maps_action(zarn_actions::ActionRegistry& registry) { register_typed_action(registry, kMapsActionType); }

zarn_actions::context::ActionContext action_context_for(std::string_view app_id, std::string_view app_name,
                                                        const MapsAction& action) {
  zarn_actions::context::ActionContext ctx;
  ctx.app_id = std::string(app_id);
  ctx.app_name = std::string(app_name);
  ctx.label = "Update";
  try {
    const nlohmann::json value = serialize_maps_action_value(action);
    if (value.is_string()) {
      ctx.label = zarn_actions::context::humanize_identifier(value.get_ref<const std::string&>());
    } else if (value.is_object() && value.size() == 1) {
      ctx.label = zarn_actions::context::humanize_identifier(value.begin().key());
    }
  } catch (...) {
    // keeps "Update"
  }
  return ctx;
}

za::ActionStatus dispatch_typed_action(zarn_ui::action_host::ActionHost& host, automerge::AutoCommit& doc,
                                       std::string_view type_name, const MapsAction& action,
                                       const std::optional<zarn_actions::context::ActionContext>& context) {
  const MapsActionObject object = MapsActionObject::borrowing(action);
  return host.dispatch_typed_action(doc, object, encode_action_payload(type_name, action), context);
}

void dispatch_with_context(zarn_ui::action_host::ActionHost& host, automerge::AutoCommit& doc,
                           std::string_view type_name, const MapsAction& action,
                           const std::optional<zarn_actions::context::ActionContext>& context) {
  const MapsActionObject object = MapsActionObject::borrowing(action);
  host.dispatch_with_context(doc, object, encode_action_payload(type_name, action), context);
}

}  // namespace maps::doc

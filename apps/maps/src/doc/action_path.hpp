#pragma once
// A MapsAction on its way through the action system: its encoded payload, the action object the
// executor applies, the decoder registered under "maps.action", and the caller context.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "automerge/automerge.hpp"
#include "model/records.hpp"
#include "zarn_actions/action.hpp"
#include "zarn_actions/context.hpp"
#include "zarn_actions/registry.hpp"
#include "zarn_ui/action_host.hpp"

namespace maps::doc {

inline constexpr std::string_view kMapsActionType = "maps.action";
inline constexpr std::string_view kMapsAppId = "org.zarn.Maps";
inline constexpr std::string_view kMapsAppName = "Maps";

// The action object: apply writes the action into the document and never fails.
class MapsActionObject final : public zarn_actions::action::Action {
 public:
  // Borrows `action`, which must outlive the object (a dispatch lends the caller's value).
  static MapsActionObject borrowing(const MapsAction& action) { return MapsActionObject(&action); }
  // Owns a decoded action.
  explicit MapsActionObject(MapsAction action) : owned_(std::move(action)), action_(&*owned_) {}
  MapsActionObject(const MapsActionObject&) = delete;
  MapsActionObject& operator=(const MapsActionObject&) = delete;

  std::string debug_text() const override;
  void apply(automerge::AutoCommit& doc) const override;
  bool is_read_only() const override { return false; }

  const MapsAction& action() const { return *action_; }

 private:
  explicit MapsActionObject(const MapsAction* action) : action_(action) {}
  std::optional<MapsAction> owned_;
  const MapsAction* action_;
};

zarn_actions::action::ActionResult<zarn_actions::action::EncodedAction> encode_action_payload(
    std::string_view type_name, const MapsAction& action);

// Only white space may follow the JSON value.
zarn_actions::registry::DecodeResult decode_action_payload(std::string_view type_name,
                                                           std::span<const std::uint8_t> payload);

void register_typed_action(zarn_actions::ActionRegistry& registry, std::string_view type_name);
// Registers (or replaces) the decoder under "maps.action".
void register_maps_action(zarn_actions::ActionRegistry& registry);

// The application's id and name, and a label made from the action's variant name.
zarn_actions::context::ActionContext action_context_for(std::string_view app_id, std::string_view app_name,
                                                        const MapsAction& action);

// Encodes and dispatches through the host; a failure is logged by the host and dropped.
void dispatch_with_context(zarn_ui::action_host::ActionHost& host, automerge::AutoCommit& doc,
                           std::string_view type_name, const MapsAction& action,
                           const std::optional<zarn_actions::context::ActionContext>& context);
zarn_actions::action::ActionStatus dispatch_typed_action(
    zarn_ui::action_host::ActionHost& host, automerge::AutoCommit& doc, std::string_view type_name,
    const MapsAction& action, const std::optional<zarn_actions::context::ActionContext>& context);

}  // namespace maps::doc

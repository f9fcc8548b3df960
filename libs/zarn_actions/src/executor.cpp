#include "zarn_actions/executor.hpp"

#include <exception>

namespace zarn_actions::executor {

namespace {

action::ActionStatus run(automerge::AutoCommit& doc, const action::Action& action, const action::EncodedAction& encoded,
                         Transport& transport, std::span<const std::uint8_t> actor,
                         const context::ActionContext* context) {
  // Every change in the document is attributed to an actor, and every record names its type.
  if (encoded.type_name.empty()) return action::ActionError::invalid({}, "the action has no type name");
  if (actor.empty()) return action::ActionError::invalid(encoded.type_name, "no actor to attribute the change to");
  try {
    return transport.execute(doc, action, DispatchRequest{encoded, actor, context});
  } catch (const std::exception& e) {
    return action::ActionError::execution(encoded.type_name, e.what());
  } catch (...) {
    return action::ActionError::execution(encoded.type_name, "the transport failed");
  }
}

}  // namespace

action::ActionStatus dispatch_by(automerge::AutoCommit& doc, const action::Action& action,
                                 const action::EncodedAction& encoded, Transport& transport,
                                 std::span<const std::uint8_t> actor) {
  return run(doc, action, encoded, transport, actor, nullptr);
}

action::ActionStatus dispatch_by_with_context(automerge::AutoCommit& doc, const action::Action& action,
                                              const action::EncodedAction& encoded, Transport& transport,
                                              std::span<const std::uint8_t> actor,
                                              const context::ActionContext& context) {
  return run(doc, action, encoded, transport, actor, &context);
}

}  // namespace zarn_actions::executor

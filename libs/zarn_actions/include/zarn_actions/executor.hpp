#pragma once
// Runs one action: checks what it was given, then has the transport apply the action object
// to the document. The encoded form travels beside the object for the transport's records.

#include <cstdint>
#include <span>

#include "zarn_actions/action.hpp"
#include "zarn_actions/context.hpp"
#include "zarn_actions/transport.hpp"

namespace zarn_actions::executor {

// Refuses an encoded action without a type name and an empty actor; otherwise the transport's
// outcome. Nothing the action or the transport throws escapes: it becomes an execution error.
action::ActionStatus dispatch_by(automerge::AutoCommit& doc, const action::Action& action,
                                 const action::EncodedAction& encoded, Transport& transport,
                                 std::span<const std::uint8_t> actor);

action::ActionStatus dispatch_by_with_context(automerge::AutoCommit& doc, const action::Action& action,
                                              const action::EncodedAction& encoded, Transport& transport,
                                              std::span<const std::uint8_t> actor,
                                              const context::ActionContext& context);

}  // namespace zarn_actions::executor

#include "zarn_ui/action_host.hpp"

#include <spdlog/spdlog.h>

#include "zarn_actions/executor.hpp"
#include "zarn_actions/transport.hpp"

namespace zarn_ui::action_host {

namespace za = zarn_actions::action;
using zarn_actions::context::ActionContext;

namespace {

std::shared_ptr<spdlog::logger> logger_for(const std::string& target) {
  if (auto existing = spdlog::get(target)) return existing;
  return spdlog::default_logger()->clone(target);
}

std::optional<ActionContext> effective_context(const std::optional<ActionContext>& caller,
                                               const std::optional<ActionContext>& host) {
  if (!host) return caller;
  if (!caller) return host;
  return caller->enriched_by(*host);
}

}  // namespace

za::ActionStatus ActionHost::dispatch_typed_action(automerge::AutoCommit& doc, const za::Action& action,
                                                   const za::ActionResult<za::EncodedAction>& encoded,
                                                   const std::optional<ActionContext>& caller) {
  const std::optional<ActionContext> context = effective_context(caller, context_);
  DispatchEntry entry;
  entry.label = context ? context->label : std::string{};
  auto fail = [&](za::ActionError error) -> za::ActionStatus {
    entry.error = error.display();
    remember(std::move(entry));
    return error;
  };
  if (encoded.is_err()) {
    entry.type_name = encoded.error().type_name;
    return fail(encoded.error());
  }
  entry.type_name = encoded.value().type_name;

  const std::optional<bound_dispatch::Heads> hooked = bound_dispatch::typed_action_before(doc, binding_);
  const std::vector<std::uint8_t> actor = doc.get_actor().to_bytes();
  zarn_actions::executor::LocalTransport transport;
  za::ActionStatus status =
      context
          ? zarn_actions::executor::dispatch_by_with_context(doc, action, encoded.value(), transport, actor, *context)
          : zarn_actions::executor::dispatch_by(doc, action, encoded.value(), transport, actor);
  if (status.is_err()) return fail(status.error());

  if (hooked) bound_dispatch::report_typed_action(binding_, *hooked, doc.get_heads());
  entry.succeeded = true;
  remember(std::move(entry));
  return status;
}

void ActionHost::dispatch_with_context(automerge::AutoCommit& doc, const za::Action& action,
                                       const za::ActionResult<za::EncodedAction>& encoded,
                                       const std::optional<ActionContext>& caller) {
  za::ActionStatus status = dispatch_typed_action(doc, action, encoded, caller);
  if (status.is_ok()) return;
  const std::string type_name = encoded.is_ok() ? encoded.value().type_name : status.error().type_name;
  logger_for(log_target_)
      ->warn("action dispatch failed: action_type={} error={} ({})", type_name, status.error().display(),
             status.error().code);
}

void ActionHost::remember(DispatchEntry entry) {
  ++dispatched_;
  if (!entry.succeeded) ++failed_;
  if (entries_.size() == kMaxEntries) entries_.pop_front();
  pending_output_ = entry;
  entries_.push_back(std::move(entry));
}

}  // namespace zarn_ui::action_host
